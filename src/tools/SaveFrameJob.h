#pragma once

#include "media/FrameImageFile.h"
#include "media/Movie.h"
#include "support/RequestJob.h"

#include <filesystem>
#include <memory>

namespace tools {

struct SaveFrameRequest final {
    std::shared_ptr<const media::Movie> movie;
    media::Time time;
    std::filesystem::path destination;
    media::FrameImageOptions options;
};

// Saves the frame a movie shows at a time as a picture at the movie's
// natural size, in one of the six formats with its options.
class SaveFrameJob final : public support::RequestJob<SaveFrameRequest> {
    Q_OBJECT
public:
    using Request = SaveFrameRequest;
    using RequestJob::RequestJob;

protected:
    [[nodiscard]] std::expected<void, media::Error> run() override;
};

} // namespace tools
