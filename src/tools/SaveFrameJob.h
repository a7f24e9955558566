#pragma once

#include "media/FrameImageFile.h"
#include "media/Movie.h"
#include "support/Job.h"

#include <filesystem>
#include <memory>

namespace tools {

// Saves the frame a movie shows at a time as a picture at the movie's
// natural size, in one of the six formats with its options.
class SaveFrameJob final : public support::Job {
    Q_OBJECT
public:
    struct Request final {
        std::shared_ptr<const media::Movie> movie;
        media::Time time;
        std::filesystem::path destination;
        media::FrameImageOptions options;
    };
    explicit SaveFrameJob(Request request, QObject* parent = nullptr)
        : support::Job(parent), m_request(std::move(request)) {}
    const Request& request() const { return m_request; }

protected:
    std::expected<void, media::Error> run() override;

private:
    Request m_request;
};

} // namespace tools
