#pragma once

#include "media/Movie.h"
#include "support/RequestJob.h"

#include <memory>
#include <optional>

namespace tools {

struct UpdateMovieFileRequest final {
    std::shared_ptr<media::Movie> movie;
    // Set Poster Frame: the poster time set (and the movie rewound) before saving.
    std::optional<media::Time> posterTime;
};

// Saves a movie into its own file (see media::Movie::updateMovieFile): Save
// Movie, and Set Poster Frame with the time to keep. While it runs the job
// alone uses the movie; a cancel or a failure leaves the file as it was.
class UpdateMovieFileJob final : public support::RequestJob<UpdateMovieFileRequest> {
    Q_OBJECT
public:
    using Request = UpdateMovieFileRequest;
    using RequestJob::RequestJob;

protected:
    [[nodiscard]] std::expected<void, media::Error> run() override;
};

} // namespace tools
