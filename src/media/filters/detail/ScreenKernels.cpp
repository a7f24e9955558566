#include "media/filters/detail/KernelMath.h"

#include <array>
#include <cmath>

namespace media::filters::detail {

namespace {

constexpr float kWidth = 6.0f;      // the screens' period in pixels
constexpr float kSharpness = 0.7f;  // 1 gives hard edges, 0 soft ones

// Prints a grey picture through a screen: `threshold` answers, for an offset
// from the centre, the level (0..1) from which on the pixel stays white.
template <typename Threshold>
void screen(const RgbImage& in, const RgbTarget& out, int firstRow, int endRow, Threshold threshold) {
    const Point c = centreOf(in);
    constexpr float kSoftness = 1.0f - kSharpness;
    for (int y = firstRow; y < endRow; ++y) {
        for (int x = 0; x < out.width; ++x) {
            const Point p = pixelCentre(x, y);
            const float level = luminance(nearest(in, p.x, p.y)) / 255.0f;
            const float white = std::clamp((level - threshold(p.x - c.x, p.y - c.y)) / kSoftness + 0.5f, 0.0f, 1.0f);
            store(out, x, y, {white * 255.0f, white * 255.0f, white * 255.0f});
        }
    }
}

float wave(float offset) {
    return std::cos(2.0f * kPi * offset / kWidth);
}

} // namespace

// Round dots on a square grid, growing with the darkness of the picture.
void dotScreen(const RgbImage& in, const RgbTarget& out, int firstRow, int endRow) {
    screen(in, out, firstRow, endRow, [](float u, float v) { return 0.5f + 0.25f * (wave(u) + wave(v)); });
}

// Horizontal lines, thicker where the picture is darker.
void hatchedScreen(const RgbImage& in, const RgbTarget& out, int firstRow, int endRow) {
    screen(in, out, firstRow, endRow, [](float, float v) { return 0.5f + 0.5f * wave(v); });
}

// Rings about the centre, thicker where the picture is darker.
void circularScreen(const RgbImage& in, const RgbTarget& out, int firstRow, int endRow) {
    screen(in, out, firstRow, endRow, [](float u, float v) { return 0.5f + 0.5f * wave(std::hypot(u, v)); });
}

// Four-colour print: cyan, magenta, yellow and black dots on screens turned
// 15, 75, 0 and 45 degrees; black replaces the grey component entirely (grey
// component replacement 1) and half of it is taken out of the other inks
// (under-colour removal 0.5).
void cmykHalftone(const RgbImage& in, const RgbTarget& out, int firstRow, int endRow) {
    constexpr float kGrayReplacement = 1.0f;
    constexpr float kUnderColorRemoval = 0.5f;
    constexpr std::array<float, 4> kAngles{15.0f * kPi / 180.0f, 75.0f * kPi / 180.0f, 0.0f, 45.0f * kPi / 180.0f};
    const Point c = centreOf(in);
    const float softness = (1.0f - kSharpness) * kWidth / 2.0f;
    auto inksAt = [&](float x, float y) {
        const Colour colour = nearest(in, x, y);
        const float cyan = 1.0f - colour.r / 255.0f;
        const float magenta = 1.0f - colour.g / 255.0f;
        const float yellow = 1.0f - colour.b / 255.0f;
        const float black = std::min({cyan, magenta, yellow}) * kGrayReplacement;
        const float removed = black * kUnderColorRemoval;
        return std::array<float, 4>{cyan - removed, magenta - removed, yellow - removed, black};
    };
    for (int y = firstRow; y < endRow; ++y) {
        for (int x = 0; x < out.width; ++x) {
            const Point p = pixelCentre(x, y);
            const float dx = p.x - c.x;
            const float dy = p.y - c.y;
            std::array<float, 4> cover{};
            for (std::size_t ink = 0; ink < 4; ++ink) {
                const float cs = std::cos(kAngles[ink]);
                const float sn = std::sin(kAngles[ink]);
                // The pixel in the ink's screen, then the dots of the four nearest cells.
                const float u = dx * cs + dy * sn;
                const float v = -dx * sn + dy * cs;
                const float u0 = std::floor(u / kWidth);
                const float v0 = std::floor(v / kWidth);
                for (int i = 0; i < 2; ++i) {
                    for (int j = 0; j < 2; ++j) {
                        const float cu = (u0 + float(i) + 0.5f) * kWidth - kWidth / 2.0f;
                        const float cv = (v0 + float(j) + 0.5f) * kWidth - kWidth / 2.0f;
                        const float amount = inksAt(c.x + cu * cs - cv * sn, c.y + cu * sn + cv * cs)[ink];
                        const float dotRadius = kWidth * std::sqrt(std::max(0.0f, amount) / kPi);
                        const float distance = std::hypot(u - cu, v - cv);
                        cover[ink] = std::max(cover[ink], std::clamp((dotRadius - distance) / softness + 0.5f, 0.0f, 1.0f));
                    }
                }
            }
            const float paper = 255.0f * (1.0f - cover[3]);
            store(out, x, y, {paper * (1.0f - cover[0]), paper * (1.0f - cover[1]), paper * (1.0f - cover[2])});
        }
    }
}

} // namespace media::filters::detail
