// Where pictures of other shapes land in the output picture.

#include "media/transcode/VideoFitter.h"

#include <gtest/gtest.h>

namespace {

using media::transcode::fitRectangle;
using media::transcode::FitRectangle;
using media::transcode::VideoFormat;

TEST(FitRectangleTest, PicturesKeepTheirShapeBetweenBlackBars) {
    const VideoFormat wide{320, 180, AV_PIX_FMT_YUV420P};
    const VideoFormat square{160, 120, AV_PIX_FMT_YUV420P};
    const struct {
        int width, height;
        VideoFormat output;
        FitRectangle expected;
    } cases[] = {
        {160, 120, wide, {40, 0, 240, 180}}, // narrower: bars at the sides
        // A picture turned upright: 135 wide, one less to keep whole chroma samples...
        {120, 160, wide, {92, 0, 134, 180}},
        {120, 160, {320, 180, AV_PIX_FMT_YUV444P}, {92, 0, 135, 180}}, // ...unless chroma is not subsampled
        {320, 180, square, {0, 14, 160, 90}},                          // wider: bars above and below
        {320, 180, wide, {0, 0, 320, 180}}, // the same shape fills the picture at any size
        {0, 0, wide, {0, 0, 320, 180}},     // so does a picture without a size
    };
    for (const auto& c : cases)
        EXPECT_EQ(fitRectangle(c.width, c.height, c.output), c.expected) << c.width << "x" << c.height;
}

} // namespace
