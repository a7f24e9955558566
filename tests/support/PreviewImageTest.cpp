#include "support/PreviewImage.h"

#include "MediaFixtures.h"
#include "ScopedEnvironment.h"
#include "TestFolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

const QColor kRed(255, 0, 0);
const QColor kGreen(0, 255, 0);

std::optional<QImage> previewOf(const fs::path& file, QSizeF size, bool asIcon = false) {
    return support::imageWithPreviewOfFileAtPath(file, size, asIcon);
}

// Whether the centre of the image is about that colour.
bool centreIs(const QImage& image, const QColor& color) {
    const QColor centre = image.pixelColor(image.width() / 2, image.height() / 2);
    return std::abs(centre.red() - color.red()) < 16 && std::abs(centre.green() - color.green()) < 16 &&
           std::abs(centre.blue() - color.blue()) < 16;
}

class PreviewImageTest : public ::testing::Test {
protected:
    // Writes a solid thumbnail as a freedesktop thumbnailer would, named after uri.
    void writeThumbnail(const char* sizeFolder, int side, const QByteArray& uri, std::int64_t mtime,
                        const QColor& color) {
        QImage thumbnail(side, side * 3 / 4, QImage::Format_RGB32);
        thumbnail.fill(color);
        thumbnail.setText("Thumb::URI", QString::fromUtf8(uri));
        thumbnail.setText("Thumb::MTime", QString::number(mtime));
        const QString folder = QString::fromStdString((m_dir / "cache" / "thumbnails" / sizeFolder).string());
        ASSERT_TRUE(QDir().mkpath(folder));
        const QString name = QCryptographicHash::hash(uri, QCryptographicHash::Md5).toHex() + ".png";
        ASSERT_TRUE(thumbnail.save(folder + "/" + name, "PNG"));
    }
    const testing_support::TestFolder m_folder;
    const fs::path& m_dir = m_folder.path();
    const testing_support::ScopedEnvironment m_cacheHome{
        "XDG_CACHE_HOME", QByteArray::fromStdString((m_dir / "cache").string())};
};

TEST_F(PreviewImageTest, UsesTheSmallestCurrentThumbnailLargeEnoughElseTheLargestElseAFrame) {
    const fs::path clip = fixtures::makeClip(m_dir, "clip one.mp4", {.audioCodec = "", .frames = 10});
    struct stat info {};
    ASSERT_EQ(::stat(clip.c_str(), &info), 0);
    const std::int64_t mtime = info.st_mtime;
    const QByteArray uri = QByteArray::fromStdString("file://" + m_dir.string() + "/clip%20one.mp4");
    writeThumbnail("normal", 128, uri, mtime, kRed);
    const std::optional<QImage> preview = previewOf(clip, {64, 64});
    ASSERT_TRUE(preview);
    EXPECT_EQ(preview->size(), QSize(64, 48));
    EXPECT_TRUE(centreIs(*preview, kRed));
    writeThumbnail("large", 256, uri, mtime, kGreen);
    EXPECT_TRUE(centreIs(*previewOf(clip, {100, 100}), kRed));
    EXPECT_TRUE(centreIs(*previewOf(clip, {200, 200}), kGreen));
    const std::optional<QImage> huge = previewOf(clip, {1000, 1000});
    ASSERT_TRUE(huge);
    EXPECT_TRUE(centreIs(*huge, kGreen));
    EXPECT_EQ(huge->size(), QSize(256, 192)) << "never enlarged";
    writeThumbnail("large", 256, uri, mtime - 1, kGreen);
    EXPECT_TRUE(centreIs(*previewOf(clip, {200, 200}), kRed))
        << "the stale large one is passed over for the current normal one";
    writeThumbnail("normal", 128, uri, mtime + 1, kRed);
    const std::optional<QImage> frame = previewOf(clip, {200, 200});
    ASSERT_TRUE(frame) << "all stale: a frame of the movie";
    EXPECT_FALSE(centreIs(*frame, kRed));
    EXPECT_FALSE(centreIs(*frame, kGreen));
    EXPECT_EQ(frame->size(), QSize(160, 120)) << "never enlarged";
}

TEST_F(PreviewImageTest, ShowsThePictureItselfAlsoAsIconAndAPortraitFrameKeepsItsShape) {
    const fs::path picture = fixtures::makePicture(m_dir, "picture.jpg", 160, 120);
    EXPECT_EQ(previewOf(picture, {80, 80}).value_or(QImage()).size(), QSize(80, 60));
    const std::optional<QImage> icon = previewOf(picture, {64, 64}, true);
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->size(), QSize(64, 48));
    EXPECT_EQ(icon->pixelColor(32, 0).alpha(), 255) << "no transparent band is added";
    const std::optional<QImage> portrait = previewOf(
        fixtures::makeClip(m_dir, "tall.mp4", {.audioCodec = "", .width = 64, .height = 128, .frames = 5}),
        {50, 50});
    ASSERT_TRUE(portrait);
    EXPECT_EQ(portrait->size(), QSize(25, 50));
}

TEST_F(PreviewImageTest, NoneWithoutPreviewOrIconOrForAnEmptySize) {
    // No QGuiApplication in this test program, so no theme icon either.
    const fs::path sound = fixtures::makeSound(m_dir, "tone.wav", 44100, 1, 0.2);
    EXPECT_EQ(previewOf(sound, {64, 64}), std::nullopt);
    EXPECT_EQ(previewOf(m_folder.write("notes.txt", "no picture here"), {64, 64}), std::nullopt);
    EXPECT_EQ(previewOf(m_dir / "missing.mp4", {64, 64}), std::nullopt);
    EXPECT_EQ(previewOf(m_dir, {64, 64}), std::nullopt);
    const fs::path picture = fixtures::makePicture(m_dir, "picture.png", 160, 120);
    EXPECT_EQ(previewOf(picture, {0, 64}), std::nullopt);
    EXPECT_EQ(previewOf(picture, {64, -1}), std::nullopt);
    EXPECT_EQ(previewOf(picture, {qQNaN(), 64}), std::nullopt);
}

} // namespace
