#pragma once

#include "join/OriginalInTrash.h"
#include "media/Movie.h"
#include "media/Time.h"
#include "support/Job.h"

#include <memory>
#include <optional>

namespace join {

struct MovieRescaleRequest final {
    // The movie of a list entry, with a file of its own. While the job runs
    // nothing else uses it; on success it holds the rewritten file.
    std::shared_ptr<media::Movie> movie;
    media::Time newDuration;
    // Whether the file's former contents go to the desktop's trash, where
    // the user can restore them.
    bool keepOriginalInTrash = false;
};

struct MovieRescaleOutcome final {
    // Where the former contents went: the trash, or beside the file.
    std::optional<OriginalInTrash::Kept> original;
};

// What typing a new duration into the file table does: the whole movie is
// scaled to the new duration and written back into its own file (written
// beside it, renamed over it when complete). A failed or cancelled rewrite
// takes the scaling back, so the movie never differs from its file, which
// stays exactly as it was. Asked to, it keeps the former file in the trash.
class MovieRescaleJob final : public support::Job {
public:
    explicit MovieRescaleJob(MovieRescaleRequest request, QObject* parent = nullptr);
    ~MovieRescaleJob() override; // stopped and waited for before the request goes

    const MovieRescaleRequest& request() const { return m_request; }
    const MovieRescaleOutcome& outcome() const { return m_outcome; }

protected:
    [[nodiscard]] std::expected<void, media::Error> run() override;

private:
    const MovieRescaleRequest m_request;
    MovieRescaleOutcome m_outcome;
};

} // namespace join
