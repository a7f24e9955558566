// `joinclip join` in-process: what it writes, prints and answers.

#include "cli/JoinCommand.h"

#include "CommandRun.h"
#include "Ffprobe.h"
#include "MediaFixtures.h"
#include "media/quicktime/ReferencedSource.h"

#include <fstream>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

using JoinCommandTest = clitest::CommandTest;

TEST_F(JoinCommandTest, DefaultNamesInTheOutputFolderNeverOverwrite) {
    const fs::path holiday = fixtures::makePicture(dir(), "Holiday.png", 16, 16);
    const fs::path other = fixtures::makePicture(dir(), "Beach.png", 16, 16);
    const fs::path out = dir() / "out";
    fs::create_directories(out);
    ASSERT_EQ(
        call(cli::runJoinCommand, {"--output-dir", out.string(), "--sort", other.string(), holiday.string()}),
        0)
        << m_err;
    // The batch visits its paths from the last to the first: Beach is named last.
    EXPECT_EQ(m_out, (out / "Beach and 1 other.mov").string() + "\n");
    ASSERT_EQ(
        call(cli::runJoinCommand, {"--output-dir", out.string(), "--sort", other.string(), holiday.string()}),
        0)
        << m_err;
    EXPECT_NE(m_out.find("Beach and 1 other-["), std::string::npos) << m_out;

    // A chosen name without an extension gets ".mov".
    ASSERT_EQ(call(cli::runJoinCommand, {"-o", (dir() / "bare").string(), holiday.string()}), 0) << m_err;
    EXPECT_EQ(m_out, (dir() / "bare.mov").string() + "\n");
    EXPECT_TRUE(fs::exists(dir() / "bare.mov"));
}

TEST_F(JoinCommandTest, RefusesWhatItCannotJoin) {
    const fs::path a = fixtures::makePicture(dir(), "a.png", 16, 16);
    EXPECT_EQ(call(cli::runJoinCommand, {a.string()}), 2) << "no output named and no output folder";
    EXPECT_EQ(call(cli::runJoinCommand, {"-o", (dir() / "missing" / "x.mov").string(), a.string()}), 1);
    EXPECT_EQ(m_err.find("Finished processing movies!"), std::string::npos);
    EXPECT_TRUE(m_out.empty());
}

TEST_F(JoinCommandTest, ProgressOnStderrAndOptionsHoldForThisRunOnly) {
    const fs::path a = fixtures::makePicture(dir(), "a.png", 16, 16);
    const fs::path output = dir() / "joined.mov";
    // A referring movie points into the clip and holds the picture, which it cannot point into.
    const fs::path clip = fixtures::makeClip(dir(), "clip.mp4", fixtures::ClipRecipe{});
    const fs::path referring = dir() / "referring.mov";
    ASSERT_EQ(call(cli::runJoinCommand,
                   {"-o", referring.string(), "--no-chapters", "--reference", clip.string(), a.string()}),
              0)
        << m_err;
    EXPECT_TRUE(media::quicktime::refersToOtherFiles(referring));
    EXPECT_NEAR(oracle::formatDuration(referring), 6.0, 0.05) << "one second of clip, five of picture";

    ASSERT_EQ(call(cli::runJoinCommand, {"-o", output.string(), clip.string(), a.string()}), 0)
        << m_err << " (the stored preferences are untouched)";
    EXPECT_FALSE(media::quicktime::refersToOtherFiles(output)) << "--reference held for its own run only";
    EXPECT_NE(m_err.find("Saving movie: "), std::string::npos) << m_err;
    EXPECT_NE(m_err.find("Elapsed Time: "), std::string::npos) << m_err;
    EXPECT_FALSE(fs::exists(dir() / "config" / "JoinClip" / "preferences.plist"));
}

TEST_F(JoinCommandTest, DurationScalesTheJoinedMovie) {
    const fs::path a = fixtures::makePicture(dir(), "a.png", 16, 16);
    const fs::path output = dir() / "scaled.mov";
    // A five-second picture joined and stretched to twelve seconds.
    ASSERT_EQ(call(cli::runJoinCommand, {"-o", output.string(), "--duration", "12", a.string()}), 0) << m_err;
    EXPECT_EQ(m_out, output.string() + "\n");
    EXPECT_NE(m_err.find("Finished processing movies!"), std::string::npos);
    EXPECT_NEAR(oracle::formatDuration(output), 12.0, 0.05);

    const fs::path unscaled = dir() / "unscaled.mov";
    EXPECT_EQ(call(cli::runJoinCommand, {"-o", unscaled.string(), "--duration", "0", a.string()}), 0)
        << "0 asks for no scaling";
    EXPECT_NEAR(oracle::formatDuration(unscaled), 5.0, 0.05);
}

} // namespace
