// Nothing the user has is lost: output names are free and made ours before
// writing, an export never replaces a file, a run ended by a signal leaves no
// partial file, and long or non-UTF-8 names work.

#include "CommandRun.h"
#include "cli/ExportCommand.h"
#include "cli/JoinCommand.h"

#include <QString>
#include <fstream>
#include <set>
#include <thread>

namespace {

namespace fs = std::filesystem;
using clitest::runCommand;

class SafeOutputTest : public clitest::CommandTest {
protected:
    void SetUp() override {
        CommandTest::SetUp();
        fs::create_directories(m_outDir);
    }
    std::vector<std::string> outputNames() const { return testing_support::namesIn(m_outDir); }

    fs::path m_outDir = dir() / "out";
};

TEST_F(SafeOutputTest, RunsOfTheSameNameInTheSameSecondEachGetTheirOwnFile) {
    std::set<std::string> written;
    for (const char* folder : {"x", "y", "z"}) {
        fs::create_directories(dir() / folder);
        const fs::path picture = fixtures::makePicture(dir() / folder, "a.png", 16, 16);
        const auto run =
            runCommand(cli::runJoinCommand, {"--output-dir", m_outDir.string(), picture.string()});
        ASSERT_EQ(run.status, 0) << run.err;
        written.insert(run.out);
    }
    EXPECT_EQ(written.size(), 3u);
    EXPECT_EQ(outputNames().size(), 3u);
    for (const auto& name : outputNames())
        EXPECT_GT(fs::file_size(m_outDir / name), 0u) << name;
}

TEST_F(SafeOutputTest, ExportNeverReplacesAnotherSourceOrAnyFile) {
    const fs::path x = fixtures::makeSound(dir(), "x.wav", 8000, 1, 0.2);
    const fs::path xx = fixtures::makeSound(dir(), "x.wav.wav", 8000, 2, 0.2);
    const auto before = fs::file_size(xx);
    ASSERT_EQ(call(cli::runExportCommand, {"--component", "Wave [WAVE,FFmp]", "--output-dir", dir().string(),
                                           x.string(), xx.string()}),
              0);
    EXPECT_EQ(fs::file_size(xx), before) << "the second source is untouched";
    EXPECT_EQ(m_out,
              (dir() / "x (exported).wav.wav").string() + "\n" + (dir() / "x.wav.wav.wav").string() + "\n");
}

TEST_F(SafeOutputTest, LongNamesAndNonUtf8FoldersWork) {
    const fs::path clip = fixtures::makePicture(dir(), "p.png", 16, 16);
    // A chosen name of 248 bytes: the temporary name must fit as the final one does.
    const fs::path chosen = m_outDir / (std::string(244, 'c') + ".mov");
    ASSERT_EQ(call(cli::runJoinCommand, {"-o", chosen.string(), clip.string()}), 0) << m_err;
    EXPECT_TRUE(fs::exists(chosen));
    // A source named with 246 bytes (two-byte characters): the default name is shortened to whole characters.
    std::string longName;
    while (longName.size() < 242)
        longName += "\xc3\xa9";
    const fs::path longSource = dir() / (longName + ".png");
    fs::copy_file(clip, longSource);
    const fs::path latin1 = dir() / "caf\xe9";
    fs::create_directories(latin1);
    for (const fs::path& folder : {m_outDir, latin1}) {
        ASSERT_EQ(call(cli::runJoinCommand, {"--output-dir", folder.string(), longSource.string()}), 0)
            << m_err;
        const fs::path written(m_out.substr(0, m_out.size() - 1));
        EXPECT_EQ(written.parent_path(), folder);
        EXPECT_TRUE(fs::exists(written) && written.filename().string().size() <= 255u);
        const QString name = QString::fromUtf8(written.filename().c_str());
        EXPECT_TRUE(name.startsWith(QChar(0xE9)) && !name.contains(QChar::ReplacementCharacter)) << m_out;
    }
}

TEST_F(SafeOutputTest, StaleTemporaryFilesOfEndedRunsAreSwept) {
    const fs::path stale = m_outDir / ".joinclip-999999-abcdefgh.mov",
                   someoneElses = m_outDir / ".joinclip-notes.mov";
    for (const fs::path& file : {stale, someoneElses}) {
        std::ofstream(file) << "left by a killed run, or not ours";
        fs::last_write_time(file, fs::file_time_type::clock::now() - std::chrono::hours(1));
    }
    const fs::path clip = fixtures::makePicture(dir(), "p.png", 16, 16);
    ASSERT_EQ(runCommand(cli::runJoinCommand, {"--output-dir", m_outDir.string(), clip.string()}).status, 0);
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(someoneElses));
}

// The real program, stopped during a long join by each catchable ending.
TEST_F(SafeOutputTest, ASignalDuringTheWriteLeavesNoFileBehind) {
    fixtures::ClipRecipe big{.width = 640, .height = 480, .frames = 250, .videoOptions = {}};
    const fs::path a = fixtures::makeClip(dir(), "a.mp4", big);
    big.width = 320;
    const fs::path b = fixtures::makeClip(dir(), "b.mp4", big); // another size: re-encoded, slowly
    // One Ctrl-C cancels the write; a second one, SIGTERM and SIGHUP end the program at once.
    const std::vector<std::vector<int>> endings = {{SIGINT}, {SIGINT, SIGINT}, {SIGTERM}, {SIGHUP}};
    for (const auto& ending : endings) {
        clitest::Program program(
            {"join", "--output-dir", m_outDir.string(), a.string(), b.string(), a.string()}, dir());
        // Wait until the write has begun: our temporary file is there.
        const auto writing = [&] {
            for (const auto& name : outputNames())
                if (name.starts_with(".joinclip-"))
                    return true;
            return false;
        };
        while (!writing()) // the test runner's own limit ends a join that never starts writing
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        for (const int number : ending)
            program.signal(number);
        const clitest::CommandRun run = program.finish();
        EXPECT_NE(run.status, 0) << "signal " << ending.front();
        EXPECT_EQ(outputNames(), std::vector<std::string>()) << "signal " << ending.front();
    }
}

} // namespace
