#pragma once

// Private to src/media: the image filters that libavfilter has no filter
// for, written as plain kernels over 8-bit RGB pictures. Each computes the
// output rows [firstRow, endRow) and may read the whole input, so a picture
// can be shared out among threads by rows. Parameters are the filters'
// defaults; a centre is the picture's centre.

#include <cstdint>

namespace media::filters::detail {

// Packed RGB, three bytes a pixel.
struct RgbImage final {
    const std::uint8_t* data = nullptr;
    int stride = 0;
    int width = 0;
    int height = 0;
};
struct RgbTarget final {
    std::uint8_t* data = nullptr;
    int stride = 0;
    int width = 0;
    int height = 0;
};

using Kernel = void (*)(const RgbImage& in, const RgbTarget& out, int firstRow, int endRow);

// Distortions: each output pixel is read from a moved place in the input
// (black where that lies outside it).
void kaleidoscope(const RgbImage& in, const RgbTarget& out, int firstRow, int endRow);
void zoomBlur(const RgbImage& in, const RgbTarget& out, int firstRow, int endRow);
void bumpDistortion(const RgbImage& in, const RgbTarget& out, int firstRow, int endRow);
void holeDistortion(const RgbImage& in, const RgbTarget& out, int firstRow, int endRow);
void torusLensDistortion(const RgbImage& in, const RgbTarget& out, int firstRow, int endRow);
void twirlDistortion(const RgbImage& in, const RgbTarget& out, int firstRow, int endRow);
void vortexDistortion(const RgbImage& in, const RgbTarget& out, int firstRow, int endRow);
void circularWrap(const RgbImage& in, const RgbTarget& out, int firstRow, int endRow);

// Screens: the picture printed with inks in dots, lines or rings.
void cmykHalftone(const RgbImage& in, const RgbTarget& out, int firstRow, int endRow);
void dotScreen(const RgbImage& in, const RgbTarget& out, int firstRow, int endRow);
void hatchedScreen(const RgbImage& in, const RgbTarget& out, int firstRow, int endRow);
void circularScreen(const RgbImage& in, const RgbTarget& out, int firstRow, int endRow);

// Cells and colours.
void crystallize(const RgbImage& in, const RgbTarget& out, int firstRow, int endRow);
void pixellate(const RgbImage& in, const RgbTarget& out, int firstRow, int endRow);
void falseColor(const RgbImage& in, const RgbTarget& out, int firstRow, int endRow);
void edges(const RgbImage& in, const RgbTarget& out, int firstRow, int endRow);

} // namespace media::filters::detail
