#pragma once

#include "media/filters/FilteredMovie.h"
#include "support/Job.h"

namespace tools {

// Renders a movie through a chain of image filters into an MPEG-4 movie
// (see media::filters::renderFilteredMovie). Cancelling leaves no file.
class FilterRenderJob final : public support::Job {
    Q_OBJECT
public:
    explicit FilterRenderJob(media::filters::FilterRenderRequest request, QObject* parent = nullptr)
        : support::Job(parent), m_request(std::move(request)) {}
    const media::filters::FilterRenderRequest& request() const { return m_request; }

protected:
    std::expected<void, media::Error> run() override;

private:
    media::filters::FilterRenderRequest m_request;
};

} // namespace tools
