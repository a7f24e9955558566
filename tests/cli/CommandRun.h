#pragma once

// Running the commands in tests: in-process, or as the real `joinclip` program
// (for what only a process shows: an end by a signal, the open-file limit).

#include "TemporaryFolder.h"

#include <csignal>
#include <functional>
#include <gtest/gtest.h>

namespace clitest {

struct CommandRun final {
    int status = -1; // the exit status; 128 + N when ended by signal N
    std::string out;
    std::string err;
};

using Command = int (*)(const std::vector<std::string>&, std::ostream&, std::ostream&);

CommandRun runCommand(Command command, const std::vector<std::string>& arguments);

// The real program, started with `arguments` (after "joinclip"); `inChild`
// runs in the child before it starts (to lower a limit, say). Its output goes
// to files in `outputFolder`, read back by finish() when it has ended.
class Program final {
public:
    Program(const std::vector<std::string>& arguments, const std::filesystem::path& outputFolder,
            const std::function<void()>& inChild = {});
    void signal(int number) const { ::kill(m_pid, number); }
    CommandRun finish();

private:
    pid_t m_pid = -1;
    std::filesystem::path m_outputFolder;
};

// A test in a fresh folder, whose "config" folder holds the preferences.
class CommandTest : public ::testing::Test {
protected:
    void SetUp() override;
    const std::filesystem::path& dir() const { return m_folder.path(); }
    std::filesystem::path preferencesFile() const {
        return dir() / "config" / "JoinClip" / "preferences.plist";
    }
    // Runs `command` in-process; its output stays in m_out and m_err.
    int call(Command command, const std::vector<std::string>& arguments);

    fixtures::test::TemporaryFolder m_folder;
    std::string m_out;
    std::string m_err;
};

} // namespace clitest
