#include "tools/FrameImagesJob.h"

#include "media/Movie.h"

namespace tools {

std::expected<void, media::Error> FrameImagesJob::run() {
    auto movie = media::Movie::open(m_request.movie);
    if (!movie)
        return std::unexpected(movie.error());
    const auto count = m_request.times.size();
    for (std::size_t index = 0; index < count; ++index) {
        if (isCancelled())
            return std::unexpected(support::cancelledError());
        if (const auto image = (*movie)->frameImage(m_request.times[index]))
            emit frameReady(static_cast<int>(index),
                            image->scaled(m_request.size, Qt::KeepAspectRatio, Qt::SmoothTransformation));
        reportProgress(static_cast<double>(index + 1) / static_cast<double>(count));
    }
    return {};
}

} // namespace tools
