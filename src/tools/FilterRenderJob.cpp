#include "tools/FilterRenderJob.h"

namespace tools {

std::expected<void, media::Error> FilterRenderJob::run() {
    auto rendered = media::filters::renderFilteredMovie(m_request, progressCallback());
    if (!rendered && isCancelled())
        return std::unexpected(support::cancelledError());
    return rendered;
}

} // namespace tools
