// Frames saved as pictures decode (by ffmpeg) to the frame shown at that
// time, in every format and with the options asked for.

#include "RunProgram.h"
#include "SharedClips.h"
#include "media/FrameImageFile.h"
#include "media/Movie.h"

#include <QFile>
#include <QString>
#include <cmath>
#include <gtest/gtest.h>

namespace {

// The picture file decoded by ffmpeg as RGB.
QImage decoded(const std::filesystem::path& file, QSize size) {
    const QByteArray rgb = oracle::runProgram("ffmpeg", {"-v", "error", "-i", QString::fromStdString(file.string()),
                                                         "-frames:v", "1", "-f", "rawvideo", "-pix_fmt", "rgb24", "-"})
                               .out;
    if (rgb.size() != size.width() * size.height() * 3) {
        ADD_FAILURE() << "decoded " << rgb.size() << " bytes";
        return {};
    }
    return QImage(reinterpret_cast<const uchar*>(rgb.constData()), size.width(), size.height(), size.width() * 3,
                  QImage::Format_RGB888)
        .copy();
}

double difference(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_RGB888);
    const QImage y = b.convertToFormat(QImage::Format_RGB888);
    double total = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int i = 0; i < x.width() * 3; ++i)
            total += std::abs(int(x.constScanLine(row)[i]) - int(y.constScanLine(row)[i]));
    return total / (x.width() * x.height() * 3.0);
}

// The value of a TIFF file's Compression tag (259): 1 none, 5 LZW.
int tiffCompression(const std::filesystem::path& file) {
    QFile tiff(QString::fromStdString(file.string()));
    if (!tiff.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray bytes = tiff.readAll();
    auto u16 = [&](qsizetype at) { return int(uchar(bytes[at])) | int(uchar(bytes[at + 1])) << 8; };
    auto u32 = [&](qsizetype at) { return qsizetype(u16(at)) | qsizetype(u16(at + 2)) << 16; };
    if (!bytes.startsWith("II*"))
        return -1;
    const qsizetype directory = u32(4);
    for (int entry = 0; entry < u16(directory); ++entry) {
        const qsizetype at = directory + 2 + entry * 12;
        if (u16(at) == 259)
            return u16(at + 8);
    }
    return -1;
}

TEST(FrameImageFileTest, EveryFormatDecodesToTheFrameWithItsOptions) {
    const auto clip = fixtures::test::h264AacClip("mp4", 25);
    auto movie = media::Movie::open(clip);
    ASSERT_TRUE(movie.has_value());
    const auto frame = (*movie)->frameImage(media::makeTime(600, 1000));
    const auto next = (*movie)->frameImage(media::makeTime(640, 1000));
    ASSERT_TRUE(frame && next);
    const auto folder = fixtures::test::scratchFolder("frames");
    struct Case {
        media::FrameImageOptions options;
        const char* name;
        double tolerance;
    };
    using F = media::FrameImageFormat;
    const std::vector<Case> cases{
        {{F::Tiff, true, 1}, "lzw.tif", 0.01},  {{F::Tiff, false, 1}, "raw.tif", 0.01},
        {{F::Bmp, true, 1}, "frame.bmp", 0.01}, {{F::Png, true, 1}, "frame.png", 0.01},
        {{F::Gif, true, 1}, "frame.gif", 12},   {{F::Jpeg, true, 1}, "best.jpg", 3},
        {{F::Jpeg, true, 0.5}, "half.jpg", 6},  {{F::Jpeg2000, true, 1}, "best.jp2", 1.5},
        {{F::Jpeg2000, true, 0.3}, "low.jp2", 8},
    };
    const double apart = difference(*frame, *next);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto path = folder / c.name;
        ASSERT_TRUE(media::writeFrameImage(*frame, path, c.options).has_value());
        const QImage read = decoded(path, frame->size());
        ASSERT_FALSE(read.isNull());
        const double off = difference(read, *frame);
        EXPECT_LE(off, c.tolerance);
        if (c.tolerance < 1) {
            EXPECT_LT(off, apart / 2) << "closer to the frame than to the next one";
        }
    }
    EXPECT_EQ(tiffCompression(folder / "lzw.tif"), 5);
    EXPECT_EQ(tiffCompression(folder / "raw.tif"), 1);
    EXPECT_LT(std::filesystem::file_size(folder / "half.jpg"), std::filesystem::file_size(folder / "best.jpg"));
    EXPECT_LT(std::filesystem::file_size(folder / "low.jp2"), std::filesystem::file_size(folder / "best.jp2"));
}

TEST(FrameImageFileTest, FormatsAreNamedAsThePreferenceAndExtensionsNameThem) {
    EXPECT_EQ(media::frameImageFormat(0), media::FrameImageFormat::Tiff);
    EXPECT_EQ(media::frameImageFormat(5), media::FrameImageFormat::Jpeg2000);
    EXPECT_FALSE(media::frameImageFormat(7));
    EXPECT_FALSE(media::frameImageFormat(-1));
    EXPECT_EQ(media::frameImageFormatForExtension("JPEG"), media::FrameImageFormat::Jpeg);
    EXPECT_FALSE(media::frameImageFormatForExtension("webp"));
    EXPECT_STREQ(media::frameImageExtension(media::FrameImageFormat::Gif), "gif");
}

TEST(FrameImageFileTest, AFailedWriteLeavesNothing) {
    const auto folder = fixtures::test::scratchFolder("frames-fail");
    EXPECT_FALSE(media::writeFrameImage(QImage(), folder / "empty.png", {}).has_value());
    EXPECT_FALSE(media::writeFrameImage(QImage(8, 8, QImage::Format_RGB32), folder / "no" / "such.png", {}).has_value());
    EXPECT_TRUE(std::filesystem::is_empty(folder));
}

} // namespace
