#include "media/filters/detail/KernelMath.h"

#include <cmath>

namespace media::filters::detail {

namespace {

constexpr Point kNowhere{-1.0e9f, -1.0e9f}; // reads black

// Fills each output pixel from the input at the place `source` answers for it.
template <typename SourceOf>
void distort(const RgbImage& in, const RgbTarget& out, int firstRow, int endRow, SourceOf source) {
    for (int y = firstRow; y < endRow; ++y) {
        for (int x = 0; x < out.width; ++x) {
            const Point from = source(pixelCentre(x, y));
            store(out, x, y, sample(in, from.x, from.y));
        }
    }
}

// An output pixel's place and its offset (dx, dy) from the picture's centre.
struct AboutCentre final {
    Point centre;
    Point place;
    float dx = 0;
    float dy = 0;

    [[nodiscard]] float radius() const { return std::hypot(dx, dy); }
    // The place at `factor` times the offset from the centre.
    [[nodiscard]] Point scaled(float factor) const { return {centre.x + dx * factor, centre.y + dy * factor}; }
    // The place with the offset turned by `angle` radians.
    [[nodiscard]] Point turned(float angle) const {
        const float c = std::cos(angle);
        const float s = std::sin(angle);
        return {centre.x + dx * c - dy * s, centre.y + dx * s + dy * c};
    }
};

// Like distort(), with `source` given each pixel's offset from the centre.
template <typename SourceOf>
void distortAboutCentre(const RgbImage& in, const RgbTarget& out, int firstRow, int endRow, SourceOf source) {
    const Point centre = centreOf(in);
    distort(in, out, firstRow, endRow,
            [&](Point p) { return source(AboutCentre{centre, p, p.x - centre.x, p.y - centre.y}); });
}

// Moves only the pixels closer to the centre than `radius`: `source` is given
// their offset and t, their distance as a fraction of the radius; the pixels
// further out stay where they are.
template <typename SourceOf>
void distortWithin(float radius, const RgbImage& in, const RgbTarget& out, int firstRow, int endRow,
                   SourceOf source) {
    distortAboutCentre(in, out, firstRow, endRow, [&](const AboutCentre& at) {
        const float t = at.radius() / radius;
        return t >= 1.0f ? at.place : source(at, t);
    });
}

} // namespace

// Six mirrored wedges about the centre: every direction reads the first
// wedge (angle 0 to 60 degrees), reflected at its edges.
void kaleidoscope(const RgbImage& in, const RgbTarget& out, int firstRow, int endRow) {
    constexpr int kCount = 6;
    constexpr float kWedge = 2.0f * kPi / float(kCount);
    distortAboutCentre(in, out, firstRow, endRow, [&](const AboutCentre& at) {
        const float radius = at.radius();
        float angle = std::fmod(std::atan2(at.dy, at.dx) + 2.0f * kPi, kWedge);
        if (angle > kWedge / 2.0f)
            angle = kWedge - angle;
        return Point{at.centre.x + radius * std::cos(angle), at.centre.y + radius * std::sin(angle)};
    });
}

// Each pixel averaged along the line towards the centre, over up to 20
// pixels, further for pixels further out, as if zooming while exposing.
void zoomBlur(const RgbImage& in, const RgbTarget& out, int firstRow, int endRow) {
    constexpr float kAmount = 20.0f;
    constexpr int kSamples = 24;
    const Point c = centreOf(in);
    const float reach = std::max(1.0f, std::hypot(c.x, c.y));
    for (int y = firstRow; y < endRow; ++y) {
        for (int x = 0; x < out.width; ++x) {
            const Point p = pixelCentre(x, y);
            const float dx = p.x - c.x;
            const float dy = p.y - c.y;
            const float length = kAmount * std::hypot(dx, dy) / reach; // pixels of streak
            const float step = length / std::max(1.0f, std::hypot(dx, dy)) / float(kSamples);
            Colour sum;
            for (int i = 0; i < kSamples; ++i) {
                const float k = 1.0f - step * float(i);
                const Colour taken = sample(in, c.x + dx * k, c.y + dy * k);
                sum.r += taken.r;
                sum.g += taken.g;
                sum.b += taken.b;
            }
            store(out, x, y, {sum.r / kSamples, sum.g / kSamples, sum.b / kSamples});
        }
    }
}

// A bulge of radius 300 at the centre: the middle is magnified (by up to 2 for
// scale 0.5), the magnification easing off to none at the rim.
void bumpDistortion(const RgbImage& in, const RgbTarget& out, int firstRow, int endRow) {
    constexpr float kRadius = 300.0f;
    constexpr float kScale = 0.5f;
    distortWithin(kRadius, in, out, firstRow, endRow, [&](const AboutCentre& at, float t) {
        const float ease = (1.0f - t * t);
        return at.scaled(1.0f - kScale * ease * ease);
    });
}

// A hole of radius 150 at the centre: the picture is pushed out of it, most
// strongly at its rim, and the hole itself is black.
void holeDistortion(const RgbImage& in, const RgbTarget& out, int firstRow, int endRow) {
    constexpr float kRadius = 150.0f;
    distortAboutCentre(in, out, firstRow, endRow, [&](const AboutCentre& at) {
        const float r2 = at.dx * at.dx + at.dy * at.dy;
        if (r2 <= kRadius * kRadius)
            return kNowhere;
        return at.scaled(1.0f - kRadius * kRadius / r2);
    });
}

// A ring-shaped lens of radius 160 and width 80 with refraction 1.7: inside
// the ring the picture is bent towards the ring's middle line, as glass of a
// round cross-section bends it; inside and outside the ring nothing moves.
void torusLensDistortion(const RgbImage& in, const RgbTarget& out, int firstRow, int endRow) {
    constexpr float kRadius = 160.0f;
    constexpr float kHalfWidth = 40.0f;
    constexpr float kRefraction = 1.7f;
    distortAboutCentre(in, out, firstRow, endRow, [&](const AboutCentre& at) {
        const float r = at.radius();
        const float u = (r - kRadius) / kHalfWidth; // -1..1 across the ring
        if (r <= 0.0f || std::abs(u) >= 1.0f)
            return at.place;
        // The lens surface's slope bends each ray; the thickness sqrt(1-u^2)
        // sets how far it travels bent.
        const float bent = u * (1.0f - 1.0f / kRefraction) * std::sqrt(1.0f - u * u);
        const float sourceRadius = r - bent * kHalfWidth;
        return Point{at.centre.x + at.dx * sourceRadius / r, at.centre.y + at.dy * sourceRadius / r};
    });
}

// Turns the picture about the centre by pi at the centre, by less further
// out and not at all from radius 300 on.
void twirlDistortion(const RgbImage& in, const RgbTarget& out, int firstRow, int endRow) {
    constexpr float kRadius = 300.0f;
    constexpr float kAngle = kPi;
    distortWithin(kRadius, in, out, firstRow, endRow,
                  [&](const AboutCentre& at, float t) { return at.turned(kAngle * (1.0f - t) * (1.0f - t)); });
}

// A whirlpool of radius 300 with angle 56.55: many turns near the centre,
// falling off steeply towards the rim.
void vortexDistortion(const RgbImage& in, const RgbTarget& out, int firstRow, int endRow) {
    constexpr float kRadius = 300.0f;
    constexpr float kAngle = 56.55f;
    distortWithin(kRadius, in, out, firstRow, endRow, [&](const AboutCentre& at, float t) {
        const float falloff = (1.0f - t) * (1.0f - t);
        return at.turned(kAngle * falloff * falloff);
    });
}

// The picture wrapped around an empty circle of radius 150: its columns run
// around the circle (its middle column at angle 0, to the right), its rows
// outwards (the middle row on the circle); the circle stays black.
void circularWrap(const RgbImage& in, const RgbTarget& out, int firstRow, int endRow) {
    constexpr float kRadius = 150.0f;
    distortAboutCentre(in, out, firstRow, endRow, [&](const AboutCentre& at) {
        const float r = at.radius();
        if (r < kRadius)
            return kNowhere;
        return Point{at.centre.x + std::atan2(at.dy, at.dx) * kRadius, at.centre.y + (r - kRadius)};
    });
}

} // namespace media::filters::detail
