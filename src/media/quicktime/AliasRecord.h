#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace media::quicktime {

// A Macintosh alias record pointing at `target` (an absolute path), as the
// data reference of a movie that refers to samples in another file.
//
// Readers find the file through the tagged path fields at the end of the
// record: type 2 holds the absolute path with ':' between its parts after an
// empty volume name (":home:user:clip.mov"; a reader strips the volume name
// and turns each ':' into '/'), type 18 the POSIX path itself. The levels
// from the alias to the target are unknown (-1), so readers take the
// absolute path. FFmpeg 5.1 reads type 2 only, so it cannot follow a path
// whose names contain ':'.
std::vector<std::uint8_t> aliasRecord(const std::filesystem::path& target);

// The absolute path an alias record's tagged fields hold (type 18, else type
// 2 read as FFmpeg reads it); empty when the record holds neither.
std::filesystem::path aliasRecordTarget(const std::vector<std::uint8_t>& record);

} // namespace media::quicktime
