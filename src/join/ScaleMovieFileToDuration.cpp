#include "join/ScaleMovieFileToDuration.h"

#include "media/Movie.h"

#include <cmath>
#include <cstdint>

namespace join {

bool ScaleMovieFileToDuration(const std::filesystem::path& path, double desiredSeconds) {
    auto opened = media::Movie::open(path);
    if (!opened)
        return false;
    media::Movie& movie = **opened;
    movie.setEditable(true);

    const media::Time duration = movie.duration();
    if (duration.value <= 0 || duration.scale <= 0 || media::isIndefinite(duration))
        return false; // nothing to stretch
    if (!std::isfinite(desiredSeconds) || desiredSeconds <= 0)
        return false;
    const double lengthSeconds = static_cast<double>(duration.value) / static_cast<double>(duration.scale);
    const double newValue = desiredSeconds / lengthSeconds * static_cast<double>(duration.value);
    // 2^63 itself does not fit: only values below it become a 64-bit integer.
    if (!(newValue < 9223372036854775808.0))
        return false;
    const auto value = static_cast<std::int64_t>(std::trunc(newValue));
    if (value <= 0)
        return false;
    media::Time newDuration = media::makeTime(value, duration.scale);
    newDuration.flags = duration.flags;

    if (!movie.scaleSegment(media::makeTimeRange(media::makeTime(0, duration.scale), duration), newDuration))
        return false;
    if (!movie.canUpdateMovieFile())
        return false;
    return movie.updateMovieFile().has_value();
}

} // namespace join
