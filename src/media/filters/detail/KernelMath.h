#pragma once

// Private to src/media: what the image kernels share: reading pixels, the
// picture's centre and luminance.

#include "media/filters/detail/Kernels.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace media::filters::detail {

struct Colour final {
    float r = 0;
    float g = 0;
    float b = 0;
};

inline const std::uint8_t* pixelAt(const RgbImage& image, int x, int y) {
    return image.data + static_cast<std::ptrdiff_t>(y) * image.stride + static_cast<std::ptrdiff_t>(x) * 3;
}

inline std::uint8_t* pixelAt(const RgbTarget& image, int x, int y) {
    return image.data + static_cast<std::ptrdiff_t>(y) * image.stride + static_cast<std::ptrdiff_t>(x) * 3;
}

inline std::uint8_t toByte(float value) {
    return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

inline void store(const RgbTarget& image, int x, int y, const Colour& colour) {
    std::uint8_t* pixel = pixelAt(image, x, y);
    pixel[0] = toByte(colour.r);
    pixel[1] = toByte(colour.g);
    pixel[2] = toByte(colour.b);
}

// The nearest pixel, clamped to the picture.
inline Colour nearest(const RgbImage& image, float x, float y) {
    const int px = std::clamp(static_cast<int>(std::floor(x)), 0, image.width - 1);
    const int py = std::clamp(static_cast<int>(std::floor(y)), 0, image.height - 1);
    const std::uint8_t* pixel = pixelAt(image, px, py);
    return {float(pixel[0]), float(pixel[1]), float(pixel[2])};
}

// The picture at a point given in pixel coordinates (pixel centres lie at
// half-integers), interpolated between the four nearest pixels; black
// outside the picture.
inline Colour sample(const RgbImage& image, float x, float y) {
    const float fx = x - 0.5f;
    const float fy = y - 0.5f;
    if (!(fx > -1.0f && fy > -1.0f && fx < float(image.width) && fy < float(image.height)))
        return {};
    const int x0 = static_cast<int>(std::floor(fx));
    const int y0 = static_cast<int>(std::floor(fy));
    const float ax = fx - float(x0);
    const float ay = fy - float(y0);
    Colour sum;
    for (int dy = 0; dy < 2; ++dy) {
        for (int dx = 0; dx < 2; ++dx) {
            const int px = x0 + dx;
            const int py = y0 + dy;
            if (px < 0 || py < 0 || px >= image.width || py >= image.height)
                continue;
            const float weight = (dx ? ax : 1.0f - ax) * (dy ? ay : 1.0f - ay);
            const std::uint8_t* pixel = pixelAt(image, px, py);
            sum.r += weight * float(pixel[0]);
            sum.g += weight * float(pixel[1]);
            sum.b += weight * float(pixel[2]);
        }
    }
    return sum;
}

inline float luminance(const Colour& colour) {
    return 0.2126f * colour.r + 0.7152f * colour.g + 0.0722f * colour.b;
}

struct Point final {
    float x = 0;
    float y = 0;
};

// The centre of the picture, where the filters' default centre lies.
inline Point centreOf(const RgbImage& image) {
    return {float(image.width) / 2.0f, float(image.height) / 2.0f};
}

// The centre of an output pixel.
inline Point pixelCentre(int x, int y) {
    return {float(x) + 0.5f, float(y) + 0.5f};
}

constexpr float kPi = 3.14159265358979f;

} // namespace media::filters::detail
