#include "tools/SaveFrameJob.h"

namespace tools {

std::expected<void, media::Error> SaveFrameJob::run() {
    if (!m_request.movie)
        return std::unexpected(media::Error{EINVAL, "there is no movie"});
    const auto image = m_request.movie->frameImage(m_request.time);
    if (!image)
        return std::unexpected(media::Error{ENODATA, m_request.movie->fileName().string() + " shows no frame at " +
                                                         media::timeToString(m_request.time)});
    reportProgress(0.5);
    auto written = media::writeFrameImage(*image, m_request.destination, m_request.options);
    if (!written)
        return std::unexpected(
            media::Error{written.error().code, m_request.destination.string() + ": " + written.error().message});
    return written;
}

} // namespace tools
