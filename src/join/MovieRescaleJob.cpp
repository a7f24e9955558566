#include "join/MovieRescaleJob.h"

#include <cerrno>

namespace join {

MovieRescaleJob::MovieRescaleJob(MovieRescaleRequest request, QObject* parent)
    : support::Job(parent), m_request(std::move(request)) {}

MovieRescaleJob::~MovieRescaleJob() {
    cancel();
    waitForWorker();
}

std::expected<void, media::Error> MovieRescaleJob::run() {
    media::Movie& movie = *m_request.movie;
    const media::Time newDuration = m_request.newDuration;
    if (newDuration.value <= 0 || newDuration.scale <= 0)
        return std::unexpected(media::Error{EINVAL, "the new duration is not a positive time"});
    if (!movie.canUpdateMovieFile())
        return std::unexpected(media::Error{EACCES, "the movie file cannot be rewritten in place"});
    const media::Time oldDuration = movie.duration();
    if (oldDuration.value <= 0 || media::isIndefinite(oldDuration))
        return std::unexpected(media::Error{EINVAL, "the movie has no duration to scale"});

    std::optional<OriginalInTrash> original;
    if (m_request.keepOriginalInTrash) {
        auto held = OriginalInTrash::hold(movie.fileName());
        if (!held)
            return std::unexpected(held.error());
        original.emplace(std::move(*held));
    }
    const bool wasEditable = movie.isEditable();
    movie.setEditable(true);
    const media::Time zero = media::makeTime(0, oldDuration.scale);
    std::expected<void, media::Error> done;
    if (!movie.scaleSegment(media::makeTimeRange(zero, oldDuration), newDuration)) {
        done = std::unexpected(media::Error{EINVAL, "the movie cannot be scaled"});
    } else {
        const auto progress = progressCallback();
        done = movie.updateMovieFile([&progress](int, double fraction) { return progress(fraction); });
        if (!done)
            (void)movie.scaleSegment(media::makeTimeRange(zero, newDuration), oldDuration);
    }
    movie.setEditable(wasEditable);
    if (!done && isCancelled())
        return std::unexpected(support::cancelledError());
    if (done && original) {
        auto kept = original->moveToTrash();
        if (!kept)
            return std::unexpected(kept.error());
        m_outcome.original = std::move(*kept);
    }
    return done;
}

} // namespace join
