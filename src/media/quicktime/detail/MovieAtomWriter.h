#pragma once

// Private to src/media/quicktime: the movie atom ('moov') of a laid-out movie.

#include "media/Error.h"
#include "media/quicktime/detail/AtomStream.h"
#include "media/quicktime/detail/FileLayout.h"

#include <expected>

namespace media::quicktime::detail {

// `mediaData`: where the new file's media data begins (its chunk offsets are
// counted from there); `creationTime`: seconds since 1904, as QuickTime counts.
[[nodiscard]] std::expected<void, Error> writeMovieAtom(AtomStream& out, const FileLayout& layout,
                                                        std::uint64_t mediaData, std::uint64_t creationTime);

// The file type atom ('ftyp') for the kind of movie.
void writeFileType(AtomStream& out, OutputKind kind);

} // namespace media::quicktime::detail
