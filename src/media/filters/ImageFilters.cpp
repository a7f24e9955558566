#include "media/filters/ImageFilters.h"

#include "media/detail/FFmpeg.h"
#include "media/filters/detail/FilterStages.h"
#include "media/filters/detail/FrameChain.h"

#include <cerrno>
#include <cstring>

namespace media::filters {

using media::detail::FramePtr;

const std::vector<FilterMenuItem>& filterMenu() {
    static const std::vector<FilterMenuItem> menu{
        {"", "Select Filter"},
        {"CIKaleidoscope", "Kaleidoscope"},
        {"CIGaussianBlur", "Gaussian Blur"},
        {"CIZoomBlur", "Zoom Blur"},
        {"CIColorInvert", "Color Invert"},
        {"CISepiaTone", "Sepia Tone"},
        {"CIBumpDistortion", "Bump Distortion"},
        {"CICircularWrap", "Circular Wrap"},
        {"CIHoleDistortion", "Hole Distortion"},
        {"CITorusLensDistortion", "Torus Lens Distortion"},
        {"CITwirlDistortion", "Twirl Distortion"},
        {"CIVortexDistortion", "Vortex Distortion"},
        {"CICMYKHalftone", "CMYK Halftone"},
        {"CIColorPosterize", "Color Posterize"},
        {"CIDotScreen", "Dot Screen"},
        {"CIColorMonochrome", "Color Monochrome"},
        {"CIHatchedScreen", "Hatched Screen"},
        {"CIBloom", "Bloom"},
        {"CICrystallize", "Crystallize"},
        {"CIEdges", "Edges"},
        {"CIGloom", "Gloom"},
        {"CIExposureAdjust", "Exposure Adjust"},
        {"CIFalseColor", "False Color"},
        {"CIEdgeWork", "Edge Work"},
        {"CICrystallize", "Crystallize"},
        {"CIColorInvert", "Color Invert"},
        {"CICircularWrap", "Circular Wrap"},
        {"CICircularScreen", "Circular Screen"},
        {"CIColorMatrix", "Color Matrix"},
        {"CIWhitePointAdjust", "White Point Adjust"},
        {"CIUnsharpMask", "Unsharp Mask"},
        {"CIPixellate", "Pixellate"},
    };
    return menu;
}

bool isImageFilter(const QString& identifier) {
    return detail::filterStage(identifier).has_value();
}

std::optional<QString> filterIdentifierFor(const QString& name) {
    for (const FilterMenuItem& item : filterMenu()) {
        if (item.identifier.isEmpty())
            continue;
        if (item.identifier.compare(name, Qt::CaseInsensitive) == 0 ||
            item.displayName.compare(name, Qt::CaseInsensitive) == 0)
            return item.identifier;
    }
    return std::nullopt;
}

std::expected<QImage, Error> applyImageFilters(const QImage& picture, const QStringList& identifiers) {
    if (picture.isNull())
        return std::unexpected(Error{EINVAL, "there is no picture to filter"});
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    FramePtr frame(av_frame_alloc());
    if (!frame)
        return std::unexpected(Error{ENOMEM, "out of memory"});
    frame->format = AV_PIX_FMT_RGB24;
    frame->width = rgb.width();
    frame->height = rgb.height();
    if (av_frame_get_buffer(frame.get(), 0) < 0)
        return std::unexpected(Error{ENOMEM, "out of memory"});
    for (int y = 0; y < rgb.height(); ++y)
        std::memcpy(frame->data[0] + static_cast<std::ptrdiff_t>(y) * frame->linesize[0], rgb.constScanLine(y),
                    static_cast<std::size_t>(rgb.width()) * 3);
    auto chain = detail::FrameChain::create(identifiers, {rgb.width(), rgb.height(), AV_PIX_FMT_RGB24},
                                            AV_PIX_FMT_RGB24);
    if (!chain)
        return std::unexpected(chain.error());
    auto filtered = chain->apply(std::move(frame));
    if (!filtered)
        return std::unexpected(filtered.error());
    QImage result(rgb.width(), rgb.height(), QImage::Format_RGB888);
    for (int y = 0; y < rgb.height(); ++y)
        std::memcpy(result.scanLine(y), (*filtered)->data[0] + static_cast<std::ptrdiff_t>(y) * (*filtered)->linesize[0],
                    static_cast<std::size_t>(rgb.width()) * 3);
    return result;
}

} // namespace media::filters
