#pragma once

#include "media/Error.h"
#include "media/quicktime/SourceIndex.h"

#include <cstdint>
#include <expected>
#include <filesystem>
#include <span>

namespace media::quicktime {

// Reads the sample index of a QuickTime movie or MPEG-4 file: the movie
// header, and per track its header, edit list, media header, handler, data
// references, sample descriptions and every sample's place, size and timing.
// Nothing else is read: the sample data stays on disk.
//
// Refusals, with the reason in the message:
// - ENOTSUP: a valid file whose samples cannot be copied from this index:
//   fragmented MPEG-4 ('moof', 'mvex'), a compressed movie header, samples that
//   live in other files (reference movies), tiny fixed-size samples;
// - EBADMSG: a damaged file (no movie header, a table that claims more than it
//   holds, samples beyond the end of the file, ...);
// - an errno code: the file cannot be read.
[[nodiscard]] std::expected<SourceIndex, Error> readIndex(const std::filesystem::path& path);

// The same for a reference movie: tracks whose samples are in other files
// are read too (their places are checked against those files only when
// they are opened; see ReferencedSource.h).
[[nodiscard]] std::expected<SourceIndex, Error> readReferenceMovieIndex(const std::filesystem::path& path);

// The same for a whole file held in memory.
[[nodiscard]] std::expected<SourceIndex, Error> readIndex(std::span<const std::uint8_t> file);
[[nodiscard]] std::expected<SourceIndex, Error> readReferenceMovieIndex(std::span<const std::uint8_t> file);

} // namespace media::quicktime
