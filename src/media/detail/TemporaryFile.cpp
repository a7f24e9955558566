#include "media/detail/TemporaryFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <stdio.h>
#include <unistd.h>

namespace media::detail {

namespace {

constexpr int kNameAttempts = 100;

Error errnoError(int code, const std::filesystem::path& file, const std::string& what) {
    return Error{code, what + " \"" + file.string() + "\": " + std::strerror(code)};
}

std::string randomSuffix(std::mt19937& generator) {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    std::string suffix;
    for (int i = 0; i < 8; ++i)
        suffix += kLetters[pick(generator)];
    return suffix;
}

} // namespace

std::expected<TemporaryFile, Error> TemporaryFile::create(const std::filesystem::path& destination) {
    if (destination.filename().empty())
        return std::unexpected(Error{EINVAL, "\"" + destination.string() + "\" names no file"});
    const std::filesystem::path folder = destination.parent_path().empty() ? "." : destination.parent_path();
    std::mt19937 generator{std::random_device{}()};
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::filesystem::path candidate =
            folder / ("." + destination.stem().string() + "-" + randomSuffix(generator) +
                      destination.extension().string());
        // O_EXCL makes the name ours; 0666 lets the umask decide, as for any new file.
        const int descriptor = ::open(candidate.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor >= 0)
            return TemporaryFile(candidate, destination, descriptor);
        if (errno != EEXIST)
            return std::unexpected(errnoError(errno, folder, "cannot write in the folder"));
    }
    return std::unexpected(Error{EEXIST, "cannot find a free temporary name in \"" + folder.string() + "\""});
}

TemporaryFile::TemporaryFile(std::filesystem::path path, std::filesystem::path destination, int fd)
    : m_path(std::move(path)), m_destination(std::move(destination)), m_fd(fd) {}

TemporaryFile::TemporaryFile(TemporaryFile&& other) noexcept
    : m_path(std::move(other.m_path)), m_destination(std::move(other.m_destination)), m_fd(other.m_fd) {
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
    m_path.clear();
    return {};
}

} // namespace media::detail
