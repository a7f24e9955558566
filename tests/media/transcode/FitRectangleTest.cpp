// Where pictures of other shapes land in the output picture.

#include "media/transcode/VideoFitter.h"

#include <gtest/gtest.h>

namespace {

using media::transcode::fitRectangle;
using media::transcode::FitRectangle;
using media::transcode::VideoFormat;

const VideoFormat kWide{320, 180, AV_PIX_FMT_YUV420P};

TEST(FitRectangleTest, NarrowerPicturesGetBarsAtTheSides) {
    EXPECT_EQ(fitRectangle(160, 120, kWide), (FitRectangle{40, 0, 240, 180}));
    // A picture turned upright (120 x 160): 135 wide, one less to keep whole chroma samples.
    EXPECT_EQ(fitRectangle(120, 160, kWide), (FitRectangle{92, 0, 134, 180}));
}

TEST(FitRectangleTest, WiderPicturesGetBarsAboveAndBelow) {
    const VideoFormat square{160, 120, AV_PIX_FMT_YUV420P};
    EXPECT_EQ(fitRectangle(320, 180, square), (FitRectangle{0, 14, 160, 90}));
    EXPECT_EQ(fitRectangle(1920, 1080, square), (FitRectangle{0, 14, 160, 90}));
}

TEST(FitRectangleTest, SameShapeFillsThePictureAtAnySize) {
    EXPECT_EQ(fitRectangle(320, 180, kWide), (FitRectangle{0, 0, 320, 180}));
    EXPECT_EQ(fitRectangle(1280, 720, kWide), (FitRectangle{0, 0, 320, 180}));
    EXPECT_EQ(fitRectangle(64, 36, kWide), (FitRectangle{0, 0, 320, 180}));
}

TEST(FitRectangleTest, FormatsWithoutChromaSubsamplingKeepOddSizes) {
    const VideoFormat full{320, 180, AV_PIX_FMT_YUV444P};
    EXPECT_EQ(fitRectangle(120, 160, full), (FitRectangle{92, 0, 135, 180}));
}

TEST(FitRectangleTest, PicturesWithoutASizeFillThePicture) {
    EXPECT_EQ(fitRectangle(0, 0, kWide), (FitRectangle{0, 0, 320, 180}));
}

} // namespace
