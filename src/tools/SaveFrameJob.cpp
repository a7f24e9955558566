#include "tools/SaveFrameJob.h"

namespace tools {

std::expected<void, media::Error> SaveFrameJob::run() {
    if (!m_request.movie)
        return std::unexpected(media::Error{EINVAL, "there is no movie"});
    const auto image = m_request.movie->frameImage(m_request.time);
    if (!image)
        return std::unexpected(media::Error{ENODATA, "the movie shows no frame at " + media::timeToString(m_request.time)});
    reportProgress(0.5);
    return media::writeFrameImage(*image, m_request.destination, m_request.options);
}

} // namespace tools
