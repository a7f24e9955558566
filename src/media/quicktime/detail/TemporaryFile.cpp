#include "media/quicktime/detail/TemporaryFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <string>
#include <unistd.h>

namespace media::quicktime::detail {

std::expected<TemporaryFile, Error> TemporaryFile::createBeside(const std::filesystem::path& destination) {
    const std::filesystem::path folder = destination.has_parent_path() ? destination.parent_path() : ".";
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, "%08x", random());
        const std::filesystem::path path =
            folder / ("." + destination.filename().string() + "." + suffix + ".part");
        // 0666 less the umask: the permissions any new file of the user gets.
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0)
            return TemporaryFile(path, destination, fd);
        if (errno != EEXIST) {
            const int code = errno;
            return std::unexpected(Error{code, "The movie cannot be written in " + folder.string() + ": " +
                                                   std::strerror(code) + "."});
        }
    }
    return std::unexpected(Error{EEXIST, "No temporary file can be made in " + folder.string() + "."});
}

TemporaryFile::TemporaryFile(TemporaryFile&& other) noexcept
    : m_path(std::move(other.m_path)), m_destination(std::move(other.m_destination)), m_fd(other.m_fd),
      m_committed(other.m_committed) {
    other.m_fd = -1;
    other.m_committed = true; // the moved-from object owns nothing
}

TemporaryFile::~TemporaryFile() {
    if (m_fd >= 0)
        ::close(m_fd);
    if (!m_committed)
        ::unlink(m_path.c_str());
}

std::expected<void, Error> TemporaryFile::commit() {
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0) {
        const int code = errno;
        return std::unexpected(
            Error{code, std::string("The movie cannot be written: ") + std::strerror(code) + "."});
    }
    if (::rename(m_path.c_str(), m_destination.c_str()) != 0) {
        const int code = errno;
        return std::unexpected(Error{code, "The movie cannot be saved as " + m_destination.string() + ": " +
                                               std::strerror(code) + "."});
    }
    m_committed = true;
    return {};
}

} // namespace media::quicktime::detail
