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

// Turns the offset (dx, dy) from the centre by `angle` radians.
Point turned(const Point& centre, float dx, float dy, float angle) {
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    return {centre.x + dx * c - dy * s, centre.y + dx * s + dy * c};
}

} // namespace

// Six mirrored wedges about the centre: every direction reads the first
// wedge (angle 0 to 60 degrees), reflected at its edges.
void kaleidoscope(const RgbImage& in, const RgbTarget& out, int firstRow, int endRow) {
    constexpr int kCount = 6;
    constexpr float kWedge = 2.0f * kPi / float(kCount);
    const Point c = centreOf(in);
    distort(in, out, firstRow, endRow, [&](Point p) {
        const float dx = p.x - c.x;
        const float dy = p.y - c.y;
        const float radius = std::hypot(dx, dy);
        float angle = std::fmod(std::atan2(dy, dx) + 2.0f * kPi, kWedge);
        if (angle > kWedge / 2.0f)
            angle = kWedge - angle;
        return Point{c.x + radius * std::cos(angle), c.y + radius * std::sin(angle)};
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
    const Point c = centreOf(in);
    distort(in, out, firstRow, endRow, [&](Point p) {
        const float dx = p.x - c.x;
        const float dy = p.y - c.y;
        const float t = std::hypot(dx, dy) / kRadius;
        if (t >= 1.0f)
            return p;
        const float ease = (1.0f - t * t);
        const float factor = 1.0f - kScale * ease * ease;
        return Point{c.x + dx * factor, c.y + dy * factor};
    });
}

// A hole of radius 150 at the centre: the picture is pushed out of it, most
// strongly at its rim, and the hole itself is black.
void holeDistortion(const RgbImage& in, const RgbTarget& out, int firstRow, int endRow) {
    constexpr float kRadius = 150.0f;
    const Point c = centreOf(in);
    distort(in, out, firstRow, endRow, [&](Point p) {
        const float dx = p.x - c.x;
        const float dy = p.y - c.y;
        const float r2 = dx * dx + dy * dy;
        if (r2 <= kRadius * kRadius)
            return kNowhere;
        const float factor = 1.0f - kRadius * kRadius / r2;
        return Point{c.x + dx * factor, c.y + dy * factor};
    });
}

// A ring-shaped lens of radius 160 and width 80 with refraction 1.7: inside
// the ring the picture is bent towards the ring's middle line, as glass of a
// round cross-section bends it; inside and outside the ring nothing moves.
void torusLensDistortion(const RgbImage& in, const RgbTarget& out, int firstRow, int endRow) {
    constexpr float kRadius = 160.0f;
    constexpr float kHalfWidth = 40.0f;
    constexpr float kRefraction = 1.7f;
    const Point c = centreOf(in);
    distort(in, out, firstRow, endRow, [&](Point p) {
        const float dx = p.x - c.x;
        const float dy = p.y - c.y;
        const float r = std::hypot(dx, dy);
        const float u = (r - kRadius) / kHalfWidth; // -1..1 across the ring
        if (r <= 0.0f || std::abs(u) >= 1.0f)
            return p;
        // The lens surface's slope bends each ray; the thickness sqrt(1-u^2)
        // sets how far it travels bent.
        const float bent = u * (1.0f - 1.0f / kRefraction) * std::sqrt(1.0f - u * u);
        const float sourceRadius = r - bent * kHalfWidth;
        return Point{c.x + dx * sourceRadius / r, c.y + dy * sourceRadius / r};
    });
}

// Turns the picture about the centre by pi at the centre, by less further
// out and not at all from radius 300 on.
void twirlDistortion(const RgbImage& in, const RgbTarget& out, int firstRow, int endRow) {
    constexpr float kRadius = 300.0f;
    constexpr float kAngle = kPi;
    const Point c = centreOf(in);
    distort(in, out, firstRow, endRow, [&](Point p) {
        const float dx = p.x - c.x;
        const float dy = p.y - c.y;
        const float t = std::hypot(dx, dy) / kRadius;
        if (t >= 1.0f)
            return p;
        return turned(c, dx, dy, kAngle * (1.0f - t) * (1.0f - t));
    });
}

// A whirlpool of radius 300 with angle 56.55: many turns near the centre,
// falling off steeply towards the rim.
void vortexDistortion(const RgbImage& in, const RgbTarget& out, int firstRow, int endRow) {
    constexpr float kRadius = 300.0f;
    constexpr float kAngle = 56.55f;
    const Point c = centreOf(in);
    distort(in, out, firstRow, endRow, [&](Point p) {
        const float dx = p.x - c.x;
        const float dy = p.y - c.y;
        const float t = std::hypot(dx, dy) / kRadius;
        if (t >= 1.0f)
            return p;
        const float falloff = (1.0f - t) * (1.0f - t);
        return turned(c, dx, dy, kAngle * falloff * falloff);
    });
}

// The picture wrapped around an empty circle of radius 150: its columns run
// around the circle (its middle column at angle 0, to the right), its rows
// outwards (the middle row on the circle); the circle stays black.
void circularWrap(const RgbImage& in, const RgbTarget& out, int firstRow, int endRow) {
    constexpr float kRadius = 150.0f;
    const Point c = centreOf(in);
    distort(in, out, firstRow, endRow, [&](Point p) {
        const float dx = p.x - c.x;
        const float dy = p.y - c.y;
        const float r = std::hypot(dx, dy);
        if (r < kRadius)
            return kNowhere;
        return Point{c.x + std::atan2(dy, dx) * kRadius, c.y + (r - kRadius)};
    });
}

} // namespace media::filters::detail
