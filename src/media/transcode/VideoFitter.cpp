#include "media/transcode/VideoFitter.h"

extern "C" {
#include <libavutil/pixdesc.h>
}

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <string>

namespace media::transcode {

using namespace media::detail;

namespace {

int roundDownTo(int value, int step) {
    return value / step * step;
}

std::string rotationFilters(int clockwiseRotation) {
    switch (clockwiseRotation) {
    case 90:
        return "transpose=clock,";
    case 180:
        return "hflip,vflip,";
    case 270:
        return "transpose=cclock,";
    default:
        return "";
    }
}

} // namespace

FitRectangle fitRectangle(double width, double height, const VideoFormat& output) {
    const AVPixFmtDescriptor* descriptor = av_pix_fmt_desc_get(output.pixelFormat);
    const int stepX = descriptor ? 1 << descriptor->log2_chroma_w : 1;
    const int stepY = descriptor ? 1 << descriptor->log2_chroma_h : 1;
    if (width <= 0 || height <= 0)
        return FitRectangle{0, 0, output.width, output.height};
    const double scale = std::min(output.width / width, output.height / height);
    const int fittedWidth =
        std::clamp(roundDownTo(static_cast<int>(std::lround(width * scale)), stepX), stepX, output.width);
    const int fittedHeight =
        std::clamp(roundDownTo(static_cast<int>(std::lround(height * scale)), stepY), stepY, output.height);
    return FitRectangle{roundDownTo((output.width - fittedWidth) / 2, stepX),
                        roundDownTo((output.height - fittedHeight) / 2, stepY), fittedWidth, fittedHeight};
}

VideoFitter::VideoFitter(const VideoFormat& output, int clockwiseRotation, AVRational sampleAspect,
                         std::filesystem::path file)
    : m_output(output), m_rotation(clockwiseRotation), m_file(std::move(file)) {
    if (sampleAspect.num > 0 && sampleAspect.den > 0)
        m_sampleAspect = sampleAspect;
}

VideoFitter::~VideoFitter() = default;

Error VideoFitter::error(int code, const std::string& what) const {
    return makeError(code, "\"" + m_file.string() + "\": " + what);
}

std::expected<void, Error> VideoFitter::build(const InputShape& shape) {
    double displayWidth = shape.width * av_q2d(shape.aspect);
    double displayHeight = shape.height;
    if (m_rotation == 90 || m_rotation == 270)
        std::swap(displayWidth, displayHeight);
    const FitRectangle fit = fitRectangle(displayWidth, displayHeight, m_output);

    FilterChainRequest request;
    request.sourceArguments = "video_size=" + std::to_string(shape.width) + "x" +
                              std::to_string(shape.height) + ":pix_fmt=" + std::to_string(shape.format) +
                              ":time_base=1/1:pixel_aspect=" + std::to_string(shape.aspect.num) + "/" +
                              std::to_string(shape.aspect.den);
    request.chain = rotationFilters(m_rotation) + "scale=" + std::to_string(fit.width) + ":" +
                    std::to_string(fit.height) + ",setsar=1,pad=" + std::to_string(m_output.width) + ":" +
                    std::to_string(m_output.height) + ":" + std::to_string(fit.x) + ":" +
                    std::to_string(fit.y) +
                    ":black,format=pix_fmts=" + av_get_pix_fmt_name(m_output.pixelFormat);
    // The scaler ffmpeg itself uses for its filter graphs.
    request.scalerOptions = "flags=bicubic";
    auto chain = makeFilterChain(request, "\"" + m_file.string() + "\": cannot prepare the video's scaling");
    if (!chain)
        return std::unexpected(chain.error());
    m_chain = std::move(*chain);
    m_shape = shape;
    return {};
}

std::expected<FramePtr, Error> VideoFitter::fit(FramePtr frame) {
    InputShape shape{frame->width, frame->height, frame->format, frame->sample_aspect_ratio};
    if (shape.aspect.num <= 0 || shape.aspect.den <= 0)
        shape.aspect = m_sampleAspect;
    if (!m_chain.graph || !(shape == m_shape))
        if (auto built = build(shape); !built)
            return std::unexpected(built.error());
    frame->sample_aspect_ratio = shape.aspect;
    if (const int status = (*filterLibrary())->av_buffersrc_add_frame(m_chain.source, frame.get());
        status < 0)
        return std::unexpected(error(status, "cannot scale the video"));
    FramePtr fitted(av_frame_alloc());
    if (!fitted)
        return std::unexpected(Error{ENOMEM, "out of memory"});
    if (const int status = (*filterLibrary())->av_buffersink_get_frame(m_chain.sink, fitted.get());
        status < 0)
        return std::unexpected(error(status, "cannot scale the video"));
    return fitted;
}

} // namespace media::transcode
