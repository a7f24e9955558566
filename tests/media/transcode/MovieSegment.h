#pragma once

// Segments for a transcoded join made from opened movies, as a join engine
// makes them: a movie's first video and sound streams over its whole duration.

#include "media/Movie.h"
#include "media/transcode/TranscodeJoin.h"

#include <filesystem>
#include <optional>

namespace transcode_test {

// The whole movie in `file`; a picture is held for `pictureDuration`.
// Throws std::runtime_error when the file does not open.
media::transcode::Segment movieSegment(const std::filesystem::path& file,
                                       std::optional<media::Time> pictureDuration = std::nullopt);

} // namespace transcode_test
