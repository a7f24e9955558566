#pragma once

#include "media/Error.h"

#include <expected>
#include <filesystem>
#include <functional>

namespace join {

// Stretches or shrinks the whole movie file at `path` (every track and its
// chapters) to last `desiredSeconds`, saving it into the same file. The new
// length is the old duration value times desiredSeconds / (old seconds),
// computed in 64-bit floats and truncated toward zero, in the movie's own
// time scale: a movie of 6000 units at 600 per second scaled to 15 seconds
// gets 9000 units. `progress` is told the fraction of the rewrite done and
// answers false to stop it.
//
// Fails, with the file left exactly as it was, when it cannot be opened or
// updated, and when no length can be computed: a movie of zero duration
// (nothing to stretch; the ratio would divide by zero), a desired length
// that is not a positive finite number, or one that rounds to nothing.
[[nodiscard]] std::expected<void, media::Error>
scaleMovieFile(const std::filesystem::path& path, double desiredSeconds,
               const std::function<bool(double)>& progress = {});

} // namespace join
