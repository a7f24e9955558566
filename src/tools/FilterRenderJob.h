#pragma once

#include "media/filters/FilteredMovie.h"
#include "support/RequestJob.h"

namespace tools {

// Renders a movie through a chain of image filters into an MPEG-4 movie
// (see media::filters::renderFilteredMovie). Cancelling leaves no file.
class FilterRenderJob final : public support::RequestJob<media::filters::FilterRenderRequest> {
    Q_OBJECT
public:
    using Request = media::filters::FilterRenderRequest;
    using RequestJob::RequestJob;

protected:
    [[nodiscard]] std::expected<void, media::Error> run() override;
};

} // namespace tools
