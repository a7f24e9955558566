#include "join/ReservedName.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace join {

std::optional<ReservedName> ReservedName::reserve(const std::filesystem::path& path) {
    const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor < 0)
        return std::nullopt;
    struct stat info {};
    const bool known = ::fstat(descriptor, &info) == 0;
    ::close(descriptor);
    if (!known) {
        ::unlink(path.c_str());
        return std::nullopt;
    }
    return ReservedName(path, info.st_dev, info.st_ino);
}

ReservedName::ReservedName(std::filesystem::path path, dev_t device, ino_t inode)
    : m_path(std::move(path)), m_device(device), m_inode(inode),
      m_inProgress(std::make_unique<media::FileInProgress>(m_path, true)) {}

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
