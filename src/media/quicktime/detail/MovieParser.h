#pragma once

// Private to src/media/quicktime: reading the movie atom ('moov') into an index.

#include "media/Error.h"
#include "media/quicktime/SourceIndex.h"
#include "media/quicktime/detail/ByteReader.h"

#include <cstdint>
#include <expected>

namespace media::quicktime::detail {

// Reads the body of a 'moov' atom of a file of `fileSize` bytes. Refuses
// fragmented movies, compressed headers, and tracks whose samples live in
// other files (unless `samplesElsewhereAllowed`) or beyond the end of this one.
[[nodiscard]] std::expected<SourceIndex, Error> parseMovie(Bytes body, std::uint64_t fileSize,
                                                           bool samplesElsewhereAllowed = false);

} // namespace media::quicktime::detail
