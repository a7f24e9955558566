// The image shown at a time is exactly the frame whose interval holds it:
// compared pixel by pixel with the frame ffmpeg decodes by its number.

#include "media/Movie.h"

#include "Ffprobe.h"
#include "MediaFixtures.h"

#include <QProcess>
#include <QTemporaryDir>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

// Frame `index` of the first video stream as BGRA bytes, decoded by the ffmpeg program.
QByteArray ffmpegFrame(const std::filesystem::path& file, int index) {
    QProcess process;
    process.start("ffmpeg", {"-v", "error", "-i", QString::fromStdString(file.string()), "-vf",
                             QString("select=eq(n\\,%1)").arg(index), "-frames:v", "1", "-f", "rawvideo",
                             "-pix_fmt", "bgra", "-"});
    process.waitForFinished(60000);
    return process.readAllStandardOutput();
}

double meanDifference(const QImage& image, const QByteArray& bgra) {
    const QImage converted = image.convertToFormat(QImage::Format_ARGB32);
    const auto bytes = static_cast<qsizetype>(converted.width()) * converted.height() * 4;
    if (bgra.size() != bytes)
        return 255;
    double total = 0;
    for (int y = 0; y < converted.height(); ++y) {
        const uchar* line = converted.constScanLine(y);
        for (int x = 0; x < converted.width() * 4; ++x) {
            if (x % 4 == 3)
                continue; // alpha
            total += std::abs(int(line[x]) - int(uchar(bgra[y * converted.width() * 4 + x])));
        }
    }
    return total / (double(converted.width()) * converted.height() * 3);
}

class MovieFrameImageTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    std::filesystem::path dir() const { return m_dir.path().toStdString(); }
    QTemporaryDir m_dir;
};

TEST_F(MovieFrameImageTest, FrameAtATimeIsTheFrameShownThen) {
    fixtures::ClipRecipe recipe;
    recipe.frames = 50;
    recipe.videoOptions = {{"g", "12"}}; // key frames every 12 frames: seeking must decode forward
    for (const std::string container : {"mp4", "mkv"}) {
        SCOPED_TRACE(container);
        recipe.container = container;
        const auto path = fixtures::makeClip(dir(), "clip." + container, recipe);
        auto movie = media::Movie::open(path);
        ASSERT_TRUE(movie.has_value());
        // Frame 30 shows from 1.2 s to 1.24 s after the video starts, at 25 fps. In
        // Matroska the video starts a little after the sound's priming.
        const auto start = static_cast<std::int64_t>(std::lround(oracle::videoStartTime(path) * 1000));
        for (const media::Time time : {media::makeTime(start + 1200, 1000), media::makeTime(start + 1239, 1000)}) {
            auto image = (*movie)->frameImage(time);
            ASSERT_TRUE(image);
            EXPECT_EQ(image->size(), QSize(160, 120));
            EXPECT_LT(meanDifference(*image, ffmpegFrame(path, 30)), 1.5);
            EXPECT_GT(meanDifference(*image, ffmpegFrame(path, 31)), 1.5);
        }
        // Going back in time seeks backwards too; before the video starts its first frame shows.
        auto first = (*movie)->frameImage(media::zeroTime());
        ASSERT_TRUE(first);
        EXPECT_LT(meanDifference(*first, ffmpegFrame(path, 0)), 1.5);
        EXPECT_FALSE((*movie)->frameImage(media::makeTime(3, 1))) << "no frame after the end";
    }
}

TEST_F(MovieFrameImageTest, RotatedFramesAreShownUpright) {
    fixtures::ClipRecipe recipe;
    recipe.rotationDegrees = 90;
    recipe.frames = 5;
    const auto path = fixtures::makeClip(dir(), "rotated.mp4", recipe);
    auto movie = media::Movie::open(path);
    ASSERT_TRUE(movie.has_value());
    auto image = (*movie)->frameImage(media::zeroTime());
    ASSERT_TRUE(image);
    EXPECT_EQ(image->size(), QSize(120, 160));

    // The same picture unrotated, turned clockwise by hand, must match.
    recipe.rotationDegrees = 0;
    const auto upright = fixtures::makeClip(dir(), "upright.mp4", recipe);
    auto plain = media::Movie::open(upright);
    ASSERT_TRUE(plain.has_value());
    auto reference = (*plain)->frameImage(media::zeroTime());
    ASSERT_TRUE(reference);
    const QImage turned = reference->transformed(QTransform().rotate(90));
    const QRgb a = image->pixel(10, 30);
    const QRgb b = turned.pixel(10, 30);
    EXPECT_NEAR(qRed(a), qRed(b), 6);
    EXPECT_NEAR(qGreen(a), qGreen(b), 6);
    EXPECT_NEAR(qBlue(a), qBlue(b), 6);
}

} // namespace
