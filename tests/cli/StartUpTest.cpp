// The program starts without FFmpeg and loads it when a command first needs
// it (as the dynamic loader tells, LD_DEBUG=libs): --version and `info` of an
// MPEG-4 movie (read by our own QuickTime reader) load none of its
// libraries; `info` of a Matroska movie loads them and reads the movie. The
// quick commands load none of the window's libraries either (Qt Gui, Exiv2,
// libplist): those are the program module's, loaded for the other commands.

#include "CommandRun.h"
#include "SharedClips.h"

#include <cstdlib>

namespace {

class StartUpTest : public clitest::CommandTest {
protected:
    clitest::CommandRun runTellingLibraries(const std::vector<std::string>& arguments) {
        clitest::Program program(arguments, dir(), [] { ::setenv("LD_DEBUG", "libs", 1); });
        return program.finish();
    }
};

TEST_F(StartUpTest, FfmpegIsLoadedOnlyWhenACommandNeedsIt) {
    const auto version = runTellingLibraries({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_FALSE(version.err.contains("libavformat")) << "--version loaded FFmpeg";
    for (const char* library : {"libQt6Gui", "libexiv2", "libplist", "joinclip-program"})
        EXPECT_FALSE(version.err.contains(library)) << "--version loaded " << library;

    const auto mpeg4 = runTellingLibraries({"info", fixtures::test::h264AacClip("mp4", 10).string()});
    EXPECT_EQ(mpeg4.status, 0) << mpeg4.err;
    EXPECT_TRUE(mpeg4.out.contains("video h264")) << mpeg4.out;
    EXPECT_TRUE(mpeg4.out.contains("sound aac")) << mpeg4.out;
    EXPECT_TRUE(mpeg4.out.contains("frame count: 10")) << mpeg4.out;
    EXPECT_FALSE(mpeg4.err.contains("libavformat")) << "info of an MPEG-4 movie loaded FFmpeg";
    EXPECT_FALSE(mpeg4.err.contains("libQt6Gui")) << "info loaded Qt Gui";

    const auto matroska = runTellingLibraries({"info", fixtures::test::h264AacClip("mkv", 10).string()});
    EXPECT_EQ(matroska.status, 0) << matroska.err;
    EXPECT_TRUE(matroska.out.contains("video h264")) << matroska.out;
    EXPECT_TRUE(matroska.err.contains("libavformat")) << "no FFmpeg library was loaded";

    const auto prefs = runTellingLibraries({"prefs", "list"});
    EXPECT_EQ(prefs.status, 0) << prefs.err;
    EXPECT_TRUE(prefs.err.contains("joinclip-program")) << "the other commands are the module's";
}

} // namespace
