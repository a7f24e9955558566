// Files that are not movies give a clear reason, never a crash or a hang, and
// the quick probe always agrees with a full open.

#include "media/Movie.h"

#include "FileContents.h"
#include "MediaFixtures.h"

#include <QTemporaryDir>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using testing_support::contentsOf;

class MovieBadInputTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    // QTemporaryDir cannot remove names that are not UTF-8; std::filesystem can.
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(dir(), ignored);
    }
    fs::path dir() const { return m_dir.path().toStdString(); }

    fs::path write(const std::string& name, const std::string& bytes) const {
        const fs::path path = dir() / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    // Refused with a reason, and the quick probe says the same.
    static void expectRefused(const fs::path& path) {
        auto movie = media::Movie::open(path);
        EXPECT_FALSE(movie.has_value()) << path;
        if (!movie) {
            EXPECT_FALSE(movie.error().message.empty());
        }
        EXPECT_FALSE(media::Movie::canOpen(path)) << path;
    }

    QTemporaryDir m_dir;
};

TEST_F(MovieBadInputTest, NonMediaFilesAreRefused) {
    expectRefused(write("empty.mov", ""));
    std::mt19937 random(42);
    std::string noise(64 * 1024, '\0');
    for (char& c : noise)
        c = static_cast<char>(random());
    expectRefused(write("noise.mov", noise));
    expectRefused(write("noise.mp4", noise));
    expectRefused(write("text.mov", "this is not a movie\n"));
    expectRefused(dir());
    expectRefused(dir() / "missing.mov");
    expectRefused(write("parent-is-file", "x") / "child.mov");
}

TEST_F(MovieBadInputTest, TruncatedMoviesAreRefusedOrOpenConsistently) {
    fixtures::ClipRecipe recipe;
    const std::string whole = contentsOf(fixtures::makeClip(dir(), "whole.mp4", recipe));
    for (const std::size_t length : {std::size_t{8}, std::size_t{100}, whole.size() / 3, whole.size() - 16}) {
        const fs::path cut = write("cut" + std::to_string(length) + ".mp4", whole.substr(0, length));
        auto movie = media::Movie::open(cut);
        EXPECT_EQ(movie.has_value(), media::Movie::canOpen(cut)) << length;
        if (movie) { // what opens must answer its attributes without failing
            (void)(*movie)->frameImage(media::zeroTime());
            (void)(*movie)->frameCount();
        }
    }
}

TEST_F(MovieBadInputTest, PipesAndUnreadableFilesNeverBlock) {
    const fs::path fifo = dir() / "pipe.mov";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    expectRefused(fifo);

    const fs::path locked = write("locked.mp4", contentsOf(fixtures::makeClip(dir(), "src.mp4", {})));
    fs::permissions(locked, fs::perms::none);
    if (::geteuid() != 0) // root reads it anyway
        expectRefused(locked);
}

TEST_F(MovieBadInputTest, AwkwardPathsAreLocalFiles) {
    const std::string clip = contentsOf(fixtures::makeClip(dir(), "src.mp4", {}));
    // Names that look like URLs or protocols, hold invalid UTF-8, a newline or a pattern.
    for (const std::string name : {"http:clip.mp4", "concat:a|b.mp4", "bad\xff\xfename.mp4", "new\nline.mp4",
                                   "100%d.jpg.mp4"}) {
        const fs::path path = write(name, clip);
        EXPECT_TRUE(media::Movie::canOpen(path)) << name;
        EXPECT_TRUE(media::Movie::open(path).has_value()) << name;
    }
    const fs::path picture = fixtures::makePicture(dir(), "frame%03d.png", 32, 24);
    EXPECT_TRUE(media::Movie::open(picture).has_value());

    expectRefused(dir() / std::string(4000, 'a'));
    expectRefused(dir() / "missing\xff\nname.mov");
}

} // namespace

namespace {

// A file may claim any pixel aspect ratio; one that would stretch the picture
// beyond what an image can hold is ignored rather than trusted.
TEST(MovieHostileSizeTest, AbsurdPixelAspectRatiosAreIgnored) {
    QTemporaryDir dir;
    fixtures::ClipRecipe recipe;
    recipe.frames = 2;
    recipe.audioCodec = "";
    recipe.sarNum = 65535;
    recipe.sarDen = 1;
    const auto path = fixtures::makeClip(dir.path().toStdString(), "wide.mp4", recipe);
    auto movie = media::Movie::open(path);
    ASSERT_TRUE(movie.has_value());
    EXPECT_EQ((*movie)->naturalSize(), (media::Size{160, 120}));
    auto image = (*movie)->frameImage(media::zeroTime());
    ASSERT_TRUE(image);
    EXPECT_EQ(image->size(), QSize(160, 120));
}

} // namespace
