// The image shown at a time is exactly the frame whose interval holds it:
// compared pixel by pixel with the frame ffmpeg decodes by its number.

#include "MovieParts.h"
#include "MovieTiming.h"
#include "RunProgram.h"
#include "SharedClips.h"
#include "media/Movie.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

// The mean difference of the image's colours from frame `index` of the file's
// first video stream, decoded by the ffmpeg program.
double differenceFromFrame(const QImage& image, const std::filesystem::path& file, int index) {
    const QByteArray bgra =
        oracle::runProgram("ffmpeg", {"-v", "error", "-i", QString::fromStdString(file.string()), "-vf",
                                      QString("select=eq(n\\,%1)").arg(index), "-frames:v", "1", "-f",
                                      "rawvideo", "-pix_fmt", "bgra", "-"})
            .out;
    const QImage converted = image.convertToFormat(QImage::Format_ARGB32);
    if (bgra.size() != converted.sizeInBytes())
        return 255;
    double total = 0;
    for (qsizetype i = 0; i < bgra.size(); ++i)
        if (i % 4 != 3) // not alpha
            total += std::abs(int(converted.constBits()[i]) - int(uchar(bgra[i])));
    return total / (double(bgra.size()) / 4 * 3);
}

TEST(MovieFrameImageTest, FrameAtATimeIsTheFrameShownThen) {
    for (const std::string container : {"mp4", "mkv"}) {
        SCOPED_TRACE(container);
        // Key frames every 12 frames: seeking must decode forward.
        const auto path = fixtures::test::sharedClip(
            "gop12." + container, {.container = container, .frames = 50, .videoOptions = {{"g", "12"}}});
        auto movie = media_test::openMovie(path);
        // Frame 30 shows from 1.2 s to 1.24 s after the video starts, at 25 fps. In
        // Matroska the video starts a little after the sound's priming.
        const auto start =
            static_cast<std::int64_t>(std::lround(oracle::probeStreams(path, "video").at(0).start * 1000));
        for (const media::Time time :
             {media::makeTime(start + 1200, 1000), media::makeTime(start + 1239, 1000)}) {
            auto image = movie->frameImage(time);
            ASSERT_TRUE(image);
            EXPECT_EQ(image->size(), QSize(160, 120));
            EXPECT_LT(differenceFromFrame(*image, path, 30), 1.5);
            EXPECT_GT(differenceFromFrame(*image, path, 31), 1.5);
        }
        // Going back in time seeks backwards too; before the video starts its first frame shows.
        auto first = movie->frameImage(media::zeroTime());
        ASSERT_TRUE(first);
        EXPECT_LT(differenceFromFrame(*first, path, 0), 1.5);
        EXPECT_FALSE(movie->frameImage(media::makeTime(3, 1))) << "no frame after the end";
    }
}

TEST(MovieFrameImageTest, RotatedFramesAreShownUpright) {
    const auto rotated = fixtures::test::sharedClip("rotated-5.mp4", {.frames = 5, .rotationDegrees = 90});
    auto image = media_test::openMovie(rotated)->frameImage(media::zeroTime());
    ASSERT_TRUE(image);
    EXPECT_EQ(image->size(), QSize(120, 160));
    // The same picture unrotated, turned clockwise by hand, must match.
    auto reference =
        media_test::openMovie(fixtures::test::h264AacClip("mp4", 5))->frameImage(media::zeroTime());
    ASSERT_TRUE(reference);
    const QRgb a = image->pixel(10, 30);
    const QRgb b = reference->transformed(QTransform().rotate(90)).pixel(10, 30);
    EXPECT_NEAR(qRed(a), qRed(b), 6);
    EXPECT_NEAR(qGreen(a), qGreen(b), 6);
    EXPECT_NEAR(qBlue(a), qBlue(b), 6);
}

} // namespace
