#pragma once

// Private to src/media: a chain of image filters over decoded frames. Runs
// of libavfilter stages become one graph each (which threads its filters by
// slices); our kernels work on packed RGB between them, shared out by rows
// among the machine's cores. The preview and the renderer use the same chain,
// so what the window shows is what the file holds.

#include "media/detail/FFmpeg.h"
#include "media/detail/FilterLibrary.h"
#include "media/filters/detail/Kernels.h"

#include <QStringList>

#include <expected>
#include <vector>

namespace media::filters::detail {

struct FrameFormat final {
    int width = 0;
    int height = 0;
    AVPixelFormat pixelFormat = AV_PIX_FMT_NONE;
    AVRational timeBase{1, 25};
    AVRational sampleAspect{1, 1};
};

class FrameChain final {
public:
    // The chain of the filters named (identifiers naming none are skipped)
    // from frames of `input` to frames of the same size in `output`.
    [[nodiscard]] static std::expected<FrameChain, Error> create(const QStringList& identifiers,
                                                               const FrameFormat& input, AVPixelFormat output);

    // The frame filtered; timestamps and other properties stay as they were.
    [[nodiscard]] std::expected<media::detail::FramePtr, Error> apply(media::detail::FramePtr frame);

private:
    struct Step final {
        media::detail::FilterChain graph; // empty for a kernel
        Kernel kernel = nullptr;
    };
    [[nodiscard]] std::expected<media::detail::FramePtr, Error> runGraph(Step& step,
                                                                        media::detail::FramePtr frame);
    [[nodiscard]] std::expected<media::detail::FramePtr, Error> runKernel(Kernel kernel,
                                                                         const AVFrame& frame);

    std::vector<Step> m_steps;
};

} // namespace media::filters::detail
