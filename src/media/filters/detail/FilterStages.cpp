#include "media/filters/detail/FilterStages.h"

#include <map>

namespace media::filters::detail {

namespace {

const std::map<QString, FilterStage>& stages() {
    static const std::map<QString, FilterStage> table{
        {"CIGaussianBlur", {"gblur=sigma=10"}},
        {"CIColorInvert", {"format=rgb24,negate"}},
        // The usual sepia matrix; a grey stays brownish (red over green over blue).
        {"CISepiaTone",
         {"format=rgb24,colorchannelmixer=rr=0.393:rg=0.769:rb=0.189:gr=0.349:gg=0.686:gb=0.168:"
          "br=0.272:bg=0.534:bb=0.131"}},
        // Six levels per channel.
        {"CIColorPosterize", {"format=rgb24,lutrgb=r='floor(val*6/256)*51':g='floor(val*6/256)*51':"
                              "b='floor(val*6/256)*51'"}},
        // Brightness tinted with the colour (0.6, 0.45, 0.3), scaled so its strongest channel is full.
        {"CIColorMonochrome",
         {"format=rgb24,colorchannelmixer=rr=0.2126:rg=0.7152:rb=0.0722:gr=0.15945:gg=0.5364:gb=0.05415:"
          "br=0.1063:bg=0.3576:bb=0.0361"}},
        {"CIExposureAdjust", {"format=gbrpf32,exposure=exposure=0.5"}},
        // At its defaults (the identity matrix, no bias) the picture is unchanged.
        {"CIColorMatrix", {"format=rgb24,colorchannelmixer=rr=1:gg=1:bb=1"}},
        // At its default white point (white) the picture is unchanged.
        {"CIWhitePointAdjust", {"format=rgb24,colorchannelmixer=rr=1:gg=1:bb=1"}},
        {"CIUnsharpMask", {"unsharp=luma_msize_x=7:luma_msize_y=7:luma_amount=0.5:chroma_msize_x=7:"
                           "chroma_msize_y=7:chroma_amount=0.5"}},
        // A glow: the picture screened with a blurred copy of itself, at half strength.
        {"CIBloom", {"format=gbrp,split[a%1][b%1];[b%1]gblur=sigma=10[c%1];[a%1][c%1]blend=all_mode=screen:"
                     "all_opacity=0.5"}},
        // The opposite: multiplied with the blurred copy, dulling the highlights.
        {"CIGloom", {"format=gbrp,split[a%1][b%1];[b%1]gblur=sigma=10[c%1];[a%1][c%1]blend=all_mode=multiply:"
                     "all_opacity=0.5"}},
        // Black strokes where the picture differs from its blur (radius 3), on white.
        {"CIEdgeWork", {"format=gray,split[a%1][b%1];[b%1]gblur=sigma=3[c%1];[a%1][c%1]blend=all_mode=difference,"
                        "lut=y='if(gt(val,6),0,255)'"}},
        {"CIKaleidoscope", {{}, kaleidoscope}},
        {"CIZoomBlur", {{}, zoomBlur}},
        {"CIBumpDistortion", {{}, bumpDistortion}},
        {"CICircularWrap", {{}, circularWrap}},
        {"CIHoleDistortion", {{}, holeDistortion}},
        {"CITorusLensDistortion", {{}, torusLensDistortion}},
        {"CITwirlDistortion", {{}, twirlDistortion}},
        {"CIVortexDistortion", {{}, vortexDistortion}},
        {"CICMYKHalftone", {{}, cmykHalftone}},
        {"CIDotScreen", {{}, dotScreen}},
        {"CIHatchedScreen", {{}, hatchedScreen}},
        {"CICircularScreen", {{}, circularScreen}},
        {"CICrystallize", {{}, crystallize}},
        {"CIFalseColor", {{}, falseColor}},
        {"CIPixellate", {{}, pixellate}},
        {"CIEdges", {{}, edges}},
    };
    return table;
}

} // namespace

std::optional<FilterStage> filterStage(const QString& identifier) {
    const auto found = stages().find(identifier);
    if (found == stages().end())
        return std::nullopt;
    return found->second;
}

} // namespace media::filters::detail
