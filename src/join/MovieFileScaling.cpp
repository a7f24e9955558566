#include "join/MovieFileScaling.h"

#include "media/Movie.h"

#include <cerrno>
#include <cmath>
#include <cstdint>

namespace join {

namespace {

std::unexpected<media::Error> refused(const std::string& why) {
    return std::unexpected(media::Error{EINVAL, why});
}

} // namespace

std::expected<void, media::Error> scaleMovieFile(const std::filesystem::path& path, double desiredSeconds,
                                                 const std::function<bool(double)>& progress) {
    auto opened = media::Movie::open(path);
    if (!opened)
        return std::unexpected(opened.error());
    media::Movie& movie = **opened;
    movie.setEditable(true);

    const media::Time duration = movie.duration();
    if (duration.value <= 0 || duration.scale <= 0 || media::isIndefinite(duration))
        return refused("the movie has no duration to scale");
    if (!std::isfinite(desiredSeconds) || desiredSeconds <= 0)
        return refused("the duration asked for is not a positive number of seconds");
    const double lengthSeconds = static_cast<double>(duration.value) / static_cast<double>(duration.scale);
    const double newValue = desiredSeconds / lengthSeconds * static_cast<double>(duration.value);
    // 2^63 itself does not fit: only values below it become a 64-bit integer.
    if (!(newValue < 9223372036854775808.0))
        return refused("the duration asked for is too long");
    const auto value = static_cast<std::int64_t>(std::trunc(newValue));
    if (value <= 0)
        return refused("the duration asked for is too short for the movie's time scale");
    media::Time newDuration = media::makeTime(value, duration.scale);
    newDuration.flags = duration.flags;

    if (!movie.scaleSegment(media::makeTimeRange(media::makeTime(0, duration.scale), duration), newDuration))
        return refused("the movie cannot be scaled");
    if (!movie.canUpdateMovieFile())
        return std::unexpected(media::Error{EACCES, "the movie file cannot be rewritten in place"});
    if (!progress)
        return movie.updateMovieFile();
    return movie.updateMovieFile([&progress](int, double fraction) {
        return progress(std::isfinite(fraction) ? fraction : 0.0);
    });
}

} // namespace join
