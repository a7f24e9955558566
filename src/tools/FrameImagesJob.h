#pragma once

#include "media/Time.h"
#include "support/RequestJob.h"

#include <QImage>
#include <QSize>
#include <filesystem>
#include <vector>

namespace tools {

struct FrameImagesRequest final {
    std::filesystem::path movie;
    std::vector<media::Time> times;
    QSize size; // each image fits in it, at the movie's display aspect
};

// Decodes the frames a movie shows at some times, as small pictures (the
// splitter's frame column). Each picture is handed out by frameReady as soon
// as it is made, from the worker's thread; the job opens the movie for itself,
// so the window's own movie object is never used by two threads.
class FrameImagesJob final : public support::RequestJob<FrameImagesRequest> {
    Q_OBJECT
public:
    using Request = FrameImagesRequest;
    using RequestJob::RequestJob;

signals:
    // The picture of request().times[index]; times without a frame give none.
    void frameReady(int index, const QImage& image);

protected:
    [[nodiscard]] std::expected<void, media::Error> run() override;
};

} // namespace tools
