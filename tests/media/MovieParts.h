#pragma once

// Movies for tests made of files: opened, or joined whole one after the
// other. Each throws std::runtime_error when the movie refuses.

#include "media/Movie.h"

#include <filesystem>
#include <memory>
#include <vector>

namespace media_test {

std::shared_ptr<media::Movie> openMovie(const std::filesystem::path& file);
// Appends the whole of `source` at the end of `target`.
void appendWhole(media::Movie& target, const media::Movie& source);
// A new editable movie of the files' movies one after the other.
std::shared_ptr<media::Movie> joinedMovie(const std::vector<std::filesystem::path>& files);
// Makes the whole (editable) movie last `duration`.
void scaleWhole(media::Movie& movie, media::Time duration);
// The same, in seconds of the movie's own time scale.
void scaleWhole(media::Movie& movie, double seconds);

} // namespace media_test
