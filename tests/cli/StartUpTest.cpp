// The program starts without FFmpeg and loads it when a command first needs
// it: --version loads none of its libraries, and `info` of a movie loads
// them (as the dynamic loader tells, LD_DEBUG=libs) and reads the movie.

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

    const auto info = runTellingLibraries({"info", fixtures::test::h264AacClip("mp4", 10).string()});
    EXPECT_EQ(info.status, 0) << info.err;
    EXPECT_TRUE(info.out.contains("video h264")) << info.out;
    EXPECT_TRUE(info.err.contains("libavformat")) << "no FFmpeg library was loaded";
}

} // namespace
