#include "join/ReservedName.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace join {

namespace {

// Errors of a file system that keeps no hard links (FAT, exFAT, some network shares).
bool linksUnsupported(int error) {
    return error == EPERM || error == EOPNOTSUPP || error == ENOTSUP || error == EMLINK;
}

media::Error errorOf(int code, const std::filesystem::path& path) {
    return media::Error{code, std::string("cannot create ") + path.filename().string() + ": " + std::strerror(code)};
}

// Creates `path` as an empty file, exclusively (0666 less the umask), and
// answers what it is, or why it cannot.
std::expected<struct stat, media::Error> createExclusively(const std::filesystem::path& path) {
    const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor < 0)
        return std::unexpected(errorOf(errno, path));
    struct stat info {};
    const bool known = ::fstat(descriptor, &info) == 0;
    const int statError = errno;
    ::close(descriptor);
    if (known)
        return info;
    ::unlink(path.c_str());
    return std::unexpected(errorOf(statError, path));
}

} // namespace

std::expected<ReservedName, media::Error> ReservedName::reserve(const std::filesystem::path& path) {
    // The empty file is made under a name of this process's own, listed before
    // it exists, then linked to `path`, itself listed first as that very file.
    // A link never replaces a file, and a run ended by a signal at any moment
    // leaves neither name behind.
    const std::filesystem::path scratch =
        media::ownFileName(path.parent_path().empty() ? "." : path.parent_path());
    const media::FileInProgress scratchInProgress(scratch, false);
    const auto made = createExclusively(scratch);
    if (!made)
        return std::unexpected(made.error());
    auto inProgress = std::make_unique<media::FileInProgress>(path, made->st_dev, made->st_ino);
    const bool linked = ::link(scratch.c_str(), path.c_str()) == 0;
    const int linkError = errno;
    ::unlink(scratch.c_str());
    if (linked)
        return ReservedName(path, made->st_dev, made->st_ino, std::move(inProgress));
    inProgress.reset();
    if (linksUnsupported(linkError))
        return reserveInPlace(path);
    return std::unexpected(errorOf(linkError, path));
}

// Without hard links: made at `path` itself and listed right after, which
// leaves a moment in which a signal would leave the empty file behind.
std::expected<ReservedName, media::Error> ReservedName::reserveInPlace(const std::filesystem::path& path) {
    const auto made = createExclusively(path);
    if (!made)
        return std::unexpected(made.error());
    return ReservedName(path, made->st_dev, made->st_ino,
                        std::make_unique<media::FileInProgress>(path, made->st_dev, made->st_ino));
}

ReservedName::ReservedName(std::filesystem::path path, dev_t device, ino_t inode,
                           std::unique_ptr<media::FileInProgress> inProgress)
    : m_path(std::move(path)), m_device(device), m_inode(inode), m_inProgress(std::move(inProgress)) {}

ReservedName::ReservedName(ReservedName&& other) noexcept
    : m_path(std::move(other.m_path)), m_device(other.m_device), m_inode(other.m_inode),
      m_inProgress(std::move(other.m_inProgress)) {
    other.m_path.clear();
}

ReservedName::~ReservedName() {
    if (m_path.empty())
        return;
    struct stat info {};
    if (::lstat(m_path.c_str(), &info) == 0 && info.st_dev == m_device && info.st_ino == m_inode &&
        info.st_size == 0)
        ::unlink(m_path.c_str());
}

} // namespace join
