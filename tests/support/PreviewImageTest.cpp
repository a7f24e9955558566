#include "support/PreviewImage.h"

#include "MediaFixtures.h"

#include <QCryptographicHash>
#include <QDir>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

const QColor kRed(255, 0, 0);
const QColor kGreen(0, 255, 0);

bool closeTo(const QColor& a, const QColor& b) {
    return std::abs(a.red() - b.red()) < 16 && std::abs(a.green() - b.green()) < 16 &&
           std::abs(a.blue() - b.blue()) < 16;
}

QColor centre(const QImage& image) {
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

class PreviewImageTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { fixtures::quietFfmpegLogs(); }

    void SetUp() override {
        ASSERT_TRUE(m_folder.isValid());
        m_dir = fs::path(m_folder.path().toStdString());
        m_savedCacheHome = qgetenv("XDG_CACHE_HOME");
        m_cacheHomeWasSet = qEnvironmentVariableIsSet("XDG_CACHE_HOME");
        qputenv("XDG_CACHE_HOME", QByteArray::fromStdString((m_dir / "cache").string()));
    }
    void TearDown() override {
        if (m_cacheHomeWasSet) {
            qputenv("XDG_CACHE_HOME", m_savedCacheHome);
        } else {
            qunsetenv("XDG_CACHE_HOME");
        }
    }

    static std::int64_t modificationTime(const fs::path& file) {
        struct stat info {};
        EXPECT_EQ(::stat(file.c_str(), &info), 0);
        return info.st_mtime;
    }

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

    QByteArray uriOf(const std::string& name) const {
        return QByteArray::fromStdString("file://" + m_dir.string() + "/" + name);
    }

    fs::path makeClip(const std::string& name) {
        fixtures::ClipSpec clipSpec;
        clipSpec.frames = 10;
        clipSpec.audioCodec = "";
        return fixtures::makeClip(m_dir, name, clipSpec);
    }

    QTemporaryDir m_folder;
    fs::path m_dir;
    QByteArray m_savedCacheHome;
    bool m_cacheHomeWasSet = false;
};

TEST_F(PreviewImageTest, UsesACurrentCachedThumbnail) {
    const fs::path clip = makeClip("clip one.mp4");
    writeThumbnail("normal", 128, uriOf("clip%20one.mp4"), modificationTime(clip), kRed);
    const std::optional<QImage> preview = support::imageWithPreviewOfFileAtPath(clip, QSizeF(64, 64), false);
    ASSERT_TRUE(preview);
    EXPECT_EQ(preview->size(), QSize(64, 48));
    EXPECT_TRUE(closeTo(centre(*preview), kRed));
}

TEST_F(PreviewImageTest, ChoosesTheSmallestThumbnailLargeEnoughElseTheLargest) {
    const fs::path clip = makeClip("clip.mp4");
    const std::int64_t mtime = modificationTime(clip);
    writeThumbnail("normal", 128, uriOf("clip.mp4"), mtime, kRed);
    writeThumbnail("large", 256, uriOf("clip.mp4"), mtime, kGreen);
    EXPECT_TRUE(
        closeTo(centre(*support::imageWithPreviewOfFileAtPath(clip, QSizeF(100, 100), false)), kRed));
    EXPECT_TRUE(
        closeTo(centre(*support::imageWithPreviewOfFileAtPath(clip, QSizeF(200, 200), false)), kGreen));
    const std::optional<QImage> huge =
        support::imageWithPreviewOfFileAtPath(clip, QSizeF(1000, 1000), false);
    ASSERT_TRUE(huge);
    EXPECT_TRUE(closeTo(centre(*huge), kGreen));
    EXPECT_EQ(huge->size(), QSize(256, 192)) << "never enlarged";
}

TEST_F(PreviewImageTest, PassesOverStaleThumbnails) {
    const fs::path clip = makeClip("clip.mp4");
    const std::int64_t mtime = modificationTime(clip);
    writeThumbnail("large", 256, uriOf("clip.mp4"), mtime - 1, kGreen);
    writeThumbnail("normal", 128, uriOf("clip.mp4"), mtime, kRed);
    EXPECT_TRUE(closeTo(centre(*support::imageWithPreviewOfFileAtPath(clip, QSizeF(200, 200), false)), kRed))
        << "the stale large one is passed over for the current normal one";

    writeThumbnail("normal", 128, uriOf("clip.mp4"), mtime + 1, kRed);
    const std::optional<QImage> frame = support::imageWithPreviewOfFileAtPath(clip, QSizeF(200, 200), false);
    ASSERT_TRUE(frame) << "all stale: a frame of the movie";
    EXPECT_FALSE(closeTo(centre(*frame), kRed));
    EXPECT_FALSE(closeTo(centre(*frame), kGreen));
    EXPECT_EQ(frame->size(), QSize(160, 120)) << "never enlarged";
}

TEST_F(PreviewImageTest, ShowsAFrameOfAMovieWithoutThumbnail) {
    const fs::path clip = makeClip("clip.mkv");
    const std::optional<QImage> preview = support::imageWithPreviewOfFileAtPath(clip, QSizeF(64, 64), false);
    ASSERT_TRUE(preview);
    EXPECT_EQ(preview->size(), QSize(64, 48));

    fixtures::ClipSpec tall;
    tall.frames = 5;
    tall.width = 64;
    tall.height = 128;
    tall.audioCodec = "";
    const std::optional<QImage> portrait = support::imageWithPreviewOfFileAtPath(
        fixtures::makeClip(m_dir, "tall.mp4", tall), QSizeF(50, 50), false);
    ASSERT_TRUE(portrait);
    EXPECT_EQ(portrait->size(), QSize(25, 50));
}

TEST_F(PreviewImageTest, ShowsThePictureItself) {
    for (const char* name : {"picture.png", "picture.jpg"}) {
        const fs::path picture = fixtures::makePicture(m_dir, name, 160, 120);
        const std::optional<QImage> preview =
            support::imageWithPreviewOfFileAtPath(picture, QSizeF(80, 80), false);
        ASSERT_TRUE(preview) << name;
        EXPECT_EQ(preview->size(), QSize(80, 60)) << name;
    }
}

TEST_F(PreviewImageTest, AnIconIsThePreviewItself) {
    const fs::path picture = fixtures::makePicture(m_dir, "picture.png", 160, 120);
    const std::optional<QImage> icon = support::imageWithPreviewOfFileAtPath(picture, QSizeF(64, 64), true);
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->size(), QSize(64, 48));
    EXPECT_EQ(icon->pixelColor(32, 0).alpha(), 255) << "no transparent band is added";
}

TEST_F(PreviewImageTest, NoneWithoutPreviewOrIcon) {
    // No QGuiApplication in this test program, so no theme icon either.
    const fs::path sound = fixtures::makeSound(m_dir, "tone.wav", 44100, 1, 0.2);
    EXPECT_EQ(support::imageWithPreviewOfFileAtPath(sound, QSizeF(64, 64), false), std::nullopt);
    const fs::path text = m_dir / "notes.txt";
    std::ofstream(text) << "no picture here";
    EXPECT_EQ(support::imageWithPreviewOfFileAtPath(text, QSizeF(64, 64), false), std::nullopt);
    EXPECT_EQ(support::imageWithPreviewOfFileAtPath(m_dir / "missing.mp4", QSizeF(64, 64), false),
              std::nullopt);
    EXPECT_EQ(support::imageWithPreviewOfFileAtPath(m_dir, QSizeF(64, 64), false), std::nullopt);
}

TEST_F(PreviewImageTest, NoneForAnEmptySize) {
    const fs::path picture = fixtures::makePicture(m_dir, "picture.png", 160, 120);
    EXPECT_EQ(support::imageWithPreviewOfFileAtPath(picture, QSizeF(0, 64), false), std::nullopt);
    EXPECT_EQ(support::imageWithPreviewOfFileAtPath(picture, QSizeF(64, -1), false), std::nullopt);
    EXPECT_EQ(support::imageWithPreviewOfFileAtPath(picture, QSizeF(qQNaN(), 64), false), std::nullopt);
}

} // namespace
