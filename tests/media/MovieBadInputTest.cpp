// Files that are not movies give a clear reason, never a crash or a hang, and
// the quick probe always agrees with a full open.

#include "SharedClips.h"
#include "TestFolder.h"
#include "media/Movie.h"

#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using testing_support::contentsOf;

// Refused with a reason, and the quick probe says the same.
void expectRefused(const fs::path& path) {
    const auto movie = media::Movie::open(path);
    EXPECT_TRUE(!movie && !movie.error().message.empty()) << path;
    EXPECT_FALSE(media::Movie::canOpen(path)) << path;
}

class MovieBadInputTest : public ::testing::Test {
protected:
    const testing_support::TestFolder m_dir;
    const std::string m_clip = contentsOf(fixtures::test::h264AacClip("mp4", 25));
};

TEST_F(MovieBadInputTest, NonMediaFilesPipesAndUnreadableFilesAreRefusedWithoutBlocking) {
    std::mt19937 random(42);
    std::string noise(64 * 1024, '\0');
    for (char& c : noise)
        c = static_cast<char>(random());
    for (const auto& [name, bytes] : {std::pair{"empty.mov", std::string()},
                                      {"noise.mp4", noise},
                                      {"text.mov", std::string("this is not a movie\n")}})
        expectRefused(m_dir.write(name, bytes));
    expectRefused(m_dir.path());
    expectRefused(m_dir.write("parent-is-file") / "child.mov");
    const fs::path fifo = m_dir / "pipe.mov";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    expectRefused(fifo);
    const fs::path locked = m_dir.write("locked.mp4", m_clip);
    fs::permissions(locked, fs::perms::none);
    if (::geteuid() != 0) // root reads it anyway
        expectRefused(locked);
}

TEST_F(MovieBadInputTest, TruncatedMoviesAreRefusedOrOpenConsistently) {
    for (const std::size_t length :
         {std::size_t{8}, std::size_t{100}, m_clip.size() / 3, m_clip.size() - 16}) {
        const fs::path cut = m_dir.write("cut" + std::to_string(length) + ".mp4", m_clip.substr(0, length));
        auto movie = media::Movie::open(cut);
        EXPECT_EQ(movie.has_value(), media::Movie::canOpen(cut)) << length;
        if (movie) { // what opens must answer its attributes without failing
            (void)(*movie)->frameImage(media::zeroTime());
            (void)(*movie)->frameCount();
        }
    }
}

TEST_F(MovieBadInputTest, AwkwardPathsAreLocalFiles) {
    // Names that look like URLs or protocols, hold invalid UTF-8, a newline or a pattern.
    for (const std::string name :
         {"http:clip.mp4", "concat:a|b.mp4", "bad\xff\xfename.mp4", "new\nline.mp4", "100%d.jpg.mp4"}) {
        const fs::path path = m_dir.write(name, m_clip);
        EXPECT_TRUE(media::Movie::canOpen(path)) << name;
        EXPECT_TRUE(media::Movie::open(path).has_value()) << name;
    }
    EXPECT_TRUE(media::Movie::open(fixtures::makePicture(m_dir.path(), "frame%03d.png", 32, 24)).has_value());
    expectRefused(m_dir / std::string(4000, 'a'));
    expectRefused(m_dir / "missing\xff\nname.mov");
}

// A file may claim any pixel aspect ratio; one that would stretch the picture
// beyond what an image can hold is ignored rather than trusted.
TEST_F(MovieBadInputTest, AbsurdPixelAspectRatiosAreIgnored) {
    auto movie = media::Movie::open(fixtures::makeClip(
        m_dir.path(), "wide.mp4", {.audioCodec = "", .frames = 2, .sarNum = 65535, .sarDen = 1}));
    ASSERT_TRUE(movie.has_value());
    EXPECT_EQ((*movie)->naturalSize(), (media::Size{160, 120}));
    auto image = (*movie)->frameImage(media::zeroTime());
    ASSERT_TRUE(image);
    EXPECT_EQ(image->size(), QSize(160, 120));
}

} // namespace
