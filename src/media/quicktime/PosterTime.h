#pragma once

#include "media/Time.h"

#include <filesystem>
#include <optional>

namespace media::quicktime {

// The poster time a QuickTime movie or MPEG-4 file keeps in its movie header,
// in the movie's time scale; none when the file has no movie header that can
// be read. Only the atom headers on the way and the movie header are read.
[[nodiscard]] std::optional<Time> readPosterTime(const std::filesystem::path& path);

} // namespace media::quicktime
