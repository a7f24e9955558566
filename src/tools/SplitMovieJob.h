#pragma once

#include "media/Time.h"
#include "support/Job.h"

#include <filesystem>
#include <vector>

namespace tools {

// Cuts a movie file into self-contained pieces at the given times (see
// media::splitMovieFile): each piece holds exactly its span.
class SplitMovieJob final : public support::Job {
    Q_OBJECT
public:
    struct Request final {
        std::filesystem::path source;
        std::vector<media::Time> cuts;            // ascending
        std::vector<std::filesystem::path> pieces; // one more than the cuts
    };
    explicit SplitMovieJob(Request request, QObject* parent = nullptr)
        : support::Job(parent), m_request(std::move(request)) {}
    const Request& request() const { return m_request; }

protected:
    std::expected<void, media::Error> run() override;

private:
    Request m_request;
};

} // namespace tools
