#include "CommandRun.h"

#include "MediaFixtures.h"

#include <QByteArray>
#include <fcntl.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace clitest {

CommandRun runCommand(Command command, const std::vector<std::string>& arguments) {
    std::ostringstream out, err;
    const int status = command(arguments, out, err);
    return {status, out.str(), err.str()};
}

Program::Program(const std::vector<std::string>& arguments, const std::filesystem::path& outputFolder,
                 const std::function<void()>& inChild)
    : m_outputFolder(outputFolder) {
    std::vector<std::string> words{JOINCLIP_PROGRAM};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    const std::string out = (outputFolder / "stdout").string();
    const std::string err = (outputFolder / "stderr").string();
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

CommandRun Program::finish() {
    int status = 0;
    ::waitpid(m_pid, &status, 0);
    return {WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status),
            testing_support::contentsOf(m_outputFolder / "stdout"),
            testing_support::contentsOf(m_outputFolder / "stderr")};
}

void CommandTest::SetUp() {
    fixtures::quietFfmpegLogs();
    qputenv("XDG_CONFIG_HOME", QByteArray((dir() / "config").c_str()));
}

int CommandTest::call(Command command, const std::vector<std::string>& arguments) {
    CommandRun run = runCommand(command, arguments);
    m_out = std::move(run.out);
    m_err = std::move(run.err);
    return run.status;
}

} // namespace clitest
