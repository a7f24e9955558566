#include "media/filters/detail/KernelMath.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace media::filters::detail {

namespace {

// A repeatable pseudo-random number in [0, 1) for a grid cell, so that the
// crystals stand still from frame to frame.
float cellNoise(int i, int j, std::uint32_t salt) {
    std::uint32_t h = static_cast<std::uint32_t>(i) * 0x8da6b343u ^ static_cast<std::uint32_t>(j) * 0xd8163841u ^ salt;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    return float(h & 0xffffffu) / float(0x1000000);
}

} // namespace

// Crystals about 20 pixels across, each filled with the colour found at its
// seed: seeds are scattered one per cell of a grid laid from the centre, and
// each pixel belongs to the nearest seed.
void crystallize(const RgbImage& in, const RgbTarget& out, int firstRow, int endRow) {
    constexpr float kRadius = 20.0f;
    const Point c = centreOf(in);
    auto seedOf = [&](int i, int j) {
        return Point{c.x + (float(i) + cellNoise(i, j, 0x9e3779b9u)) * kRadius,
                     c.y + (float(j) + cellNoise(i, j, 0x7f4a7c15u)) * kRadius};
    };
    for (int y = firstRow; y < endRow; ++y) {
        for (int x = 0; x < out.width; ++x) {
            const Point p = pixelCentre(x, y);
            const int ci = static_cast<int>(std::floor((p.x - c.x) / kRadius));
            const int cj = static_cast<int>(std::floor((p.y - c.y) / kRadius));
            Point best;
            float bestDistance = std::numeric_limits<float>::max();
            for (int j = cj - 1; j <= cj + 1; ++j) {
                for (int i = ci - 1; i <= ci + 1; ++i) {
                    const Point seed = seedOf(i, j);
                    const float distance = std::hypot(seed.x - p.x, seed.y - p.y);
                    if (distance < bestDistance) {
                        bestDistance = distance;
                        best = seed;
                    }
                }
            }
            store(out, x, y, nearest(in, best.x, best.y));
        }
    }
}

// Squares of 8 pixels laid from the centre, each in the colour at its middle.
void pixellate(const RgbImage& in, const RgbTarget& out, int firstRow, int endRow) {
    constexpr float kScale = 8.0f;
    const Point c = centreOf(in);
    for (int y = firstRow; y < endRow; ++y) {
        const float row = c.y + (std::floor((float(y) + 0.5f - c.y) / kScale) + 0.5f) * kScale;
        for (int x = 0; x < out.width; ++x) {
            const float column = c.x + (std::floor((float(x) + 0.5f - c.x) / kScale) + 0.5f) * kScale;
            store(out, x, y, nearest(in, column, row));
        }
    }
}

// The picture's brightness mapped onto a ramp from dark red (0.3, 0, 0) for
// black to a warm white (1, 0.9, 0.8) for white.
void falseColor(const RgbImage& in, const RgbTarget& out, int firstRow, int endRow) {
    constexpr Colour kDark{0.3f * 255.0f, 0.0f, 0.0f};
    constexpr Colour kLight{255.0f, 0.9f * 255.0f, 0.8f * 255.0f};
    for (int y = firstRow; y < endRow; ++y) {
        for (int x = 0; x < out.width; ++x) {
            const std::uint8_t* pixel = pixelAt(in, x, y);
            const float t = luminance({float(pixel[0]), float(pixel[1]), float(pixel[2])}) / 255.0f;
            store(out, x, y,
                  {kDark.r + (kLight.r - kDark.r) * t, kDark.g + (kLight.g - kDark.g) * t,
                   kDark.b + (kLight.b - kDark.b) * t});
        }
    }
}

// Each channel's edges in that channel's colour, on black: the strength of
// its change across the pixel (Sobel's operator, intensity 1), so flat areas
// go black however bright they were. (libavfilter's edgedetect draws thin
// thresholded lines instead, and misses a perfectly sharp step.)
void edges(const RgbImage& in, const RgbTarget& out, int firstRow, int endRow) {
    auto at = [&](int x, int y, int channel) {
        return float(pixelAt(in, std::clamp(x, 0, in.width - 1), std::clamp(y, 0, in.height - 1))[channel]);
    };
    for (int y = firstRow; y < endRow; ++y) {
        for (int x = 0; x < out.width; ++x) {
            float strength[3];
            for (int channel = 0; channel < 3; ++channel) {
                const float gx = at(x + 1, y - 1, channel) + 2 * at(x + 1, y, channel) + at(x + 1, y + 1, channel) -
                                 at(x - 1, y - 1, channel) - 2 * at(x - 1, y, channel) - at(x - 1, y + 1, channel);
                const float gy = at(x - 1, y + 1, channel) + 2 * at(x, y + 1, channel) + at(x + 1, y + 1, channel) -
                                 at(x - 1, y - 1, channel) - 2 * at(x, y - 1, channel) - at(x + 1, y - 1, channel);
                strength[channel] = std::hypot(gx, gy) / 4.0f;
            }
            store(out, x, y, {strength[0], strength[1], strength[2]});
        }
    }
}

} // namespace media::filters::detail
