#pragma once

#include "media/Time.h"
#include "support/RequestJob.h"

#include <filesystem>
#include <vector>

namespace tools {

struct SplitMovieRequest final {
    std::filesystem::path source;
    std::vector<media::Time> cuts;             // ascending
    std::vector<std::filesystem::path> pieces; // one more than the cuts
};

// Cuts a movie file into self-contained pieces at the given times (see
// media::splitMovieFile): each piece holds exactly its span.
class SplitMovieJob final : public support::RequestJob<SplitMovieRequest> {
    Q_OBJECT
public:
    using Request = SplitMovieRequest;
    using RequestJob::RequestJob;

protected:
    [[nodiscard]] std::expected<void, media::Error> run() override;
};

} // namespace tools
