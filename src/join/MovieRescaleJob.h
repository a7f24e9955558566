#pragma once

#include "media/Movie.h"
#include "media/Time.h"
#include "support/Job.h"

#include <memory>

namespace join {

struct MovieRescaleRequest final {
    // The movie of a list entry, with a file of its own. While the job runs
    // nothing else uses it; on success it holds the rewritten file.
    std::shared_ptr<media::Movie> movie;
    media::Time newDuration;
};

// What typing a new duration into the file table does: the whole movie is
// scaled to the new duration and written back into its own file (written
// beside it, renamed over it when complete). A failed or cancelled rewrite
// takes the scaling back, so the movie never differs from its file, which
// stays exactly as it was.
class MovieRescaleJob final : public support::Job {
public:
    explicit MovieRescaleJob(MovieRescaleRequest request, QObject* parent = nullptr);
    ~MovieRescaleJob() override; // stopped and waited for before the request goes

    const MovieRescaleRequest& request() const { return m_request; }

protected:
    [[nodiscard]] std::expected<void, media::Error> run() override;

private:
    const MovieRescaleRequest m_request;
};

} // namespace join
