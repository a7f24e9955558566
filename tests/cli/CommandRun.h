#pragma once

// Running the commands in tests: in-process, or as the real `joinclip` program
// (for what only a process shows: an end by a signal, the open-file limit).

#include "MediaFixtures.h"
#include "TestFolder.h"

#include <QByteArray>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace clitest {

struct CommandRun final {
    int status = -1; // the exit status; 128 + N when ended by signal N
    std::string out;
    std::string err;
};

using Command = int (*)(const std::vector<std::string>&, std::ostream&, std::ostream&);

inline CommandRun runCommand(Command command, const std::vector<std::string>& arguments) {
    std::ostringstream out, err;
    const int status = command(arguments, out, err);
    return {status, out.str(), err.str()};
}

// The real program, started with `arguments` (after "joinclip"); `inChild`
// runs in the child before it starts (to lower a limit, say). Its output goes
// to files in `outputFolder`, read back by finish() when it has ended.
class Program final {
public:
    Program(const std::vector<std::string>& arguments, const std::filesystem::path& outputFolder,
            const std::function<void()>& inChild = {})
        : m_outputFolder(outputFolder) {
        std::vector<std::string> words{JOINCLIP_PROGRAM};
        words.insert(words.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (std::string& word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);
        const std::string out = (outputFolder / "stdout").string(), err = (outputFolder / "stderr").string();
        m_pid = ::fork();
        if (m_pid == 0) {
            ::dup2(::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
            ::dup2(::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
            if (inChild)
                inChild();
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
    }
    void signal(int number) const { ::kill(m_pid, number); }
    CommandRun finish() {
        int status = 0;
        ::waitpid(m_pid, &status, 0);
        return {WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status),
                testing_support::contentsOf(m_outputFolder / "stdout"),
                testing_support::contentsOf(m_outputFolder / "stderr")};
    }

private:
    pid_t m_pid = -1;
    std::filesystem::path m_outputFolder;
};

// A test in a fresh folder, whose "config" folder holds the preferences.
class CommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        fixtures::quietFfmpegLogs();
        qputenv("XDG_CONFIG_HOME", QByteArray((dir() / "config").c_str()));
    }
    const std::filesystem::path& dir() const { return m_folder.path(); }
    std::filesystem::path preferencesFile() const {
        return dir() / "config" / "JoinClip" / "preferences.plist";
    }
    // Runs `command` in-process; its output stays in m_out and m_err.
    int call(Command command, const std::vector<std::string>& arguments) {
        CommandRun run = runCommand(command, arguments);
        m_out = std::move(run.out);
        m_err = std::move(run.err);
        return run.status;
    }

    testing_support::TestFolder m_folder;
    std::string m_out;
    std::string m_err;
};

} // namespace clitest
