#include "media/detail/TemporaryFile.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <regex>
#include <set>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

namespace media::detail {

namespace {

constexpr int kNameAttempts = 100;
constexpr const char* kNamePrefix = ".joinclip-";
// A longer extension is left out of the temporary name rather than make it too long.
constexpr std::size_t kLongestKeptExtension = 32;

// When this process started (near enough: when the program was loaded).
const std::filesystem::file_time_type gProcessStart = std::filesystem::file_time_type::clock::now();

// Our own temporary files left behind by a process that is no longer running
// (killed, or the machine stopped) and older than this process, in `folder`.
// Once per folder and process, so a run that writes many files there pays once.
void sweepStaleTemporaryFiles(const std::filesystem::path& folder) {
    static std::mutex lock;
    static std::set<std::filesystem::path> swept;
    {
        const std::lock_guard guard(lock);
        if (!swept.insert(folder).second)
            return;
    }
    static const std::regex ours(R"(\.joinclip-([0-9]+)-[a-z0-9]{8}(\.[^/]*)?)");
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        std::smatch match;
        if (!name.starts_with(kNamePrefix) || !std::regex_match(name, match, ours))
            continue;
        const long pid = std::strtol(match[1].str().c_str(), nullptr, 10);
        const bool running = pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
        std::error_code ignored;
        if (running || !entry->is_regular_file(ignored) || entry->last_write_time(ignored) >= gProcessStart)
            continue;
        std::filesystem::remove(entry->path(), ignored);
    }
}

Error errnoError(int code, const std::filesystem::path& file, const std::string& what) {
    return Error{code, what + " \"" + file.string() + "\": " + std::strerror(code)};
}

} // namespace

std::expected<TemporaryFile, Error> TemporaryFile::create(const std::filesystem::path& destination) {
    if (destination.filename().empty())
        return std::unexpected(Error{EINVAL, "\"" + destination.string() + "\" names no file"});
    const std::filesystem::path folder = destination.parent_path().empty() ? "." : destination.parent_path();
    sweepStaleTemporaryFiles(folder);
    std::string extension = destination.extension().string();
    if (extension.size() > kLongestKeptExtension)
        extension.clear();
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::filesystem::path candidate = ownFileName(folder, extension);
        // Listed before it is made, so a signal right after the open cannot
        // leave it behind. Safe: a name with our process number is never another's.
        auto inProgress = std::make_unique<FileInProgress>(candidate, false);
        // O_EXCL makes the name ours; 0666 lets the umask decide, as for any new file.
        const int descriptor = ::open(candidate.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor >= 0)
            return TemporaryFile(candidate, destination, descriptor, std::move(inProgress));
        if (errno != EEXIST)
            return std::unexpected(errnoError(errno, folder, "cannot write in the folder"));
    }
    return std::unexpected(Error{EEXIST, "cannot find a free temporary name in \"" + folder.string() + "\""});
}

TemporaryFile::TemporaryFile(std::filesystem::path path, std::filesystem::path destination, int fd,
                             std::unique_ptr<FileInProgress> inProgress)
    : m_path(std::move(path)), m_destination(std::move(destination)), m_fd(fd),
      m_inProgress(std::move(inProgress)) {}

TemporaryFile::TemporaryFile(TemporaryFile&& other) noexcept
    : m_path(std::move(other.m_path)), m_destination(std::move(other.m_destination)), m_fd(other.m_fd),
      m_inProgress(std::move(other.m_inProgress)) {
    other.m_path.clear();
    other.m_fd = -1;
}

TemporaryFile::~TemporaryFile() {
    if (m_fd >= 0)
        ::close(m_fd);
    if (!m_path.empty())
        ::unlink(m_path.c_str());
}

std::expected<void, Error> TemporaryFile::close() {
    const int descriptor = m_fd;
    m_fd = -1;
    if (descriptor >= 0 && ::close(descriptor) != 0)
        return std::unexpected(errnoError(errno, m_path, "cannot finish writing"));
    return {};
}

std::expected<void, Error> TemporaryFile::commit() {
    if (auto closed = close(); !closed)
        return closed;
    if (::rename(m_path.c_str(), m_destination.c_str()) != 0)
        return std::unexpected(errnoError(errno, m_destination, "cannot replace"));
    m_inProgress.reset();
    m_path.clear();
    return {};
}

std::expected<void, Error> TemporaryFile::commitWithoutReplacing() {
    if (auto closed = close(); !closed)
        return closed;
    // renameat2 with RENAME_NOREPLACE checks and renames in one step, so a
    // file that appeared meanwhile is never replaced. File systems without
    // it get a hard link, which fails just as atomically on an existing name.
    if (::renameat2(AT_FDCWD, m_path.c_str(), AT_FDCWD, m_destination.c_str(), RENAME_NOREPLACE) != 0) {
        if (errno != EINVAL || ::link(m_path.c_str(), m_destination.c_str()) != 0)
            return std::unexpected(errnoError(errno, m_destination, "cannot write"));
        ::unlink(m_path.c_str());
    }
    m_inProgress.reset();
    m_path.clear();
    return {};
}

} // namespace media::detail
