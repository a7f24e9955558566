#include "MovieParts.h"

#include <cmath>
#include <stdexcept>

namespace media_test {

std::shared_ptr<media::Movie> openMovie(const std::filesystem::path& file) {
    auto movie = media::Movie::open(file);
    if (!movie)
        throw std::runtime_error(file.string() + ": " + movie.error().message);
    return *movie;
}

void appendWhole(media::Movie& target, const media::Movie& source) {
    if (!target.insertSegment(source, media::makeTimeRange(media::zeroTime(), source.duration()),
                              target.duration()))
        throw std::runtime_error("the movie refused a segment of " + source.fileName().string());
}

std::shared_ptr<media::Movie> joinedMovie(const std::vector<std::filesystem::path>& files) {
    auto movie = media::Movie::makeEmpty();
    movie->setEditable(true);
    for (const auto& file : files)
        appendWhole(*movie, *openMovie(file));
    return movie;
}

void scaleWhole(media::Movie& movie, media::Time duration) {
    if (!movie.scaleSegment(media::makeTimeRange(media::zeroTime(), movie.duration()), duration))
        throw std::runtime_error("the movie refused to be scaled");
}

void scaleWhole(media::Movie& movie, double seconds) {
    const std::int32_t scale = movie.duration().scale;
    scaleWhole(movie, media::makeTime(std::llround(seconds * scale), scale));
}

} // namespace media_test
