// The viewer's tools on the command line: split (named pieces and the
// default names beside the source), sound with its copies, frame in a format;
// refused arguments and outputs that exist.

#include "CommandRun.h"
#include "SharedClips.h"
#include "cli/FrameCommand.h"
#include "cli/SoundCommand.h"
#include "cli/SplitCommand.h"

#include <gtest/gtest.h>

namespace {

using clitest::runCommand;

TEST(ToolCommandsTest, SplitNamesPiecesAsAskedOrBesideTheSource) {
    testing_support::TestFolder folder;
    const auto movie = fixtures::makeClip(folder.path(), "holiday.mp4", {.frames = 50});
    const auto named =
        runCommand(cli::runSplitCommand, {"--at", "1", movie.string(), "-o", (folder / "a.mov").string(), "-o",
                                          (folder / "b.mov").string()});
    EXPECT_EQ(named.status, 0) << named.err;
    EXPECT_TRUE(std::filesystem::exists(folder / "a.mov"));
    EXPECT_TRUE(std::filesystem::exists(folder / "b.mov"));

    const auto beside = runCommand(cli::runSplitCommand, {"--at", "0:01.5", "--at", "0.5", movie.string()});
    ASSERT_EQ(beside.status, 0) << beside.err;
    EXPECT_EQ(beside.out, (folder / "holiday [0-00-00-00.0-10].mov").string() + "\n" +
                              (folder / "holiday [0-00-00-00.5-10].mov").string() + "\n" +
                              (folder / "holiday [0-00-00-01.5-10].mov").string() + "\n");
    // Run again, the pieces exist: refused unless --replace.
    const auto again = runCommand(cli::runSplitCommand, {"--at", "0:01.5", "--at", "0.5", movie.string()});
    EXPECT_EQ(again.status, 1);
    EXPECT_NE(again.err.find("exists"), std::string::npos);

    for (const auto& wrong : std::vector<std::vector<std::string>>{
             {movie.string()},
             {"--at", "soon", movie.string()},
             {"--at", "-1", movie.string()},
             {"--at", "1", movie.string(), "-o", (folder / "only.mov").string()}}) {
        EXPECT_EQ(runCommand(cli::runSplitCommand, wrong).status, 2) << wrong[0];
    }
    EXPECT_EQ(runCommand(cli::runSplitCommand, {"--at", "1", movie.string(), "-o", movie.string(), "-o",
                                                (folder / "x.mov").string(), "--replace"})
                  .status,
              1)
        << "the source is never written over";
}

TEST(ToolCommandsTest, SoundAndFrameWriteWhatTheyAreAskedFor) {
    testing_support::TestFolder folder;
    const auto movie = fixtures::test::h264AacClip("mp4", 25);
    const auto sound = runCommand(cli::runSoundCommand, {movie.string(), "-o", (folder / "s.aiff").string(), "--caf", "--wav"});
    ASSERT_EQ(sound.status, 0) << sound.err;
    for (const char* name : {"s.aiff", "s.caf", "s.wav"})
        EXPECT_TRUE(std::filesystem::exists(folder / name)) << name;
    EXPECT_EQ(runCommand(cli::runSoundCommand, {fixtures::test::standardSet().videoOnlyMp4.string(), "-o",
                                                (folder / "none.aiff").string()})
                  .status,
              1);

    const auto frame = runCommand(cli::runFrameCommand, {"--at", "0.5", "--format", "jpg", "--quality", "0.7",
                                                         movie.string(), "-o", (folder / "f.jpeg").string()});
    ASSERT_EQ(frame.status, 0) << frame.err;
    EXPECT_TRUE(std::filesystem::exists(folder / "f.jpeg"));
    EXPECT_EQ(runCommand(cli::runFrameCommand, {movie.string(), "-o", (folder / "f.webp").string()}).status, 2);
    EXPECT_EQ(runCommand(cli::runFrameCommand, {"--quality", "2", movie.string(), "-o", (folder / "g.png").string()}).status, 2);
    EXPECT_EQ(runCommand(cli::runFrameCommand, {"--at", "9", movie.string(), "-o", (folder / "late.png").string()}).status, 1);
    EXPECT_FALSE(std::filesystem::exists(folder / "late.png"));
}

} // namespace
