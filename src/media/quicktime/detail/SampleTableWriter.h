#pragma once

// Private to src/media/quicktime: a laid-out track's sample table ('stbl'),
// streamed from the sources' indexes one table at a time.

#include "media/Error.h"
#include "media/quicktime/detail/AtomStream.h"
#include "media/quicktime/detail/FileLayout.h"

#include <expected>

namespace media::quicktime::detail {

// `mediaData`: where the new file's media data begins. Chunk offsets are
// written with 64 bits ('co64') when one lies beyond 4 GB, else with 32 ('stco').
[[nodiscard]] std::expected<void, Error> writeSampleTable(AtomStream& out, const FileLayout& layout,
                                                          const TrackLayout& track, std::uint64_t mediaData);

} // namespace media::quicktime::detail
