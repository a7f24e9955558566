#include "tools/SplitMovieJob.h"

#include "media/MovieSplit.h"

namespace tools {

std::expected<void, media::Error> SplitMovieJob::run() {
    auto split = media::splitMovieFile(m_request.source, m_request.cuts, m_request.pieces,
                                       progressCallback(0.0, 1.0, QStringLiteral("Splitting movie...")));
    if (!split && isCancelled())
        return std::unexpected(support::cancelledError());
    return split;
}

} // namespace tools
