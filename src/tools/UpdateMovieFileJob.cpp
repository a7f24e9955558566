#include "tools/UpdateMovieFileJob.h"

namespace tools {

std::expected<void, media::Error> UpdateMovieFileJob::run() {
    if (!m_request.movie)
        return std::unexpected(media::Error{EINVAL, "there is no movie"});
    media::Movie& movie = *m_request.movie;
    if (m_request.posterTime) {
        movie.setPosterTime(*m_request.posterTime);
        movie.setCurrentTime(media::zeroTime());
    }
    const auto step = progressCallback(0.0, 1.0, QStringLiteral("Saving movie..."));
    auto saved = movie.updateMovieFile([&step](int, double fraction) { return step(fraction); });
    if (!saved && isCancelled())
        return std::unexpected(support::cancelledError());
    reportProgress(1.0);
    return saved;
}

} // namespace tools
