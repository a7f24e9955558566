#include "platform/WholeFileWrite.h"

#include <cerrno>
#include <fcntl.h>
#include <random>
#include <string>
#include <unistd.h>

namespace platform {

namespace {

// 0, or the errno of the step that failed.
int writeAll(int descriptor, const QByteArray& bytes) {
    const char* data = bytes.constData();
    std::size_t left = static_cast<std::size_t>(bytes.size());
    while (left > 0) {
        const ssize_t written = ::write(descriptor, data, left);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return written < 0 ? errno : ENOSPC; // nothing written and no error: the disk is full
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    return ::fsync(descriptor) == 0 ? 0 : errno;
}

} // namespace

int writeWholeFile(const std::filesystem::path& path, const QByteArray& bytes) {
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
    std::mt19937 generator{std::random_device{}()};
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path temporary = folder / ("." + path.filename().string().substr(0, 200) +
                                                          "." + std::to_string(generator() % 1000000));
        const int descriptor = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor < 0 && errno == EEXIST)
            continue;
        if (descriptor < 0)
            return errno;
        int error = writeAll(descriptor, bytes);
        if (::close(descriptor) != 0 && error == 0)
            error = errno;
        if (error == 0 && ::rename(temporary.c_str(), path.c_str()) == 0)
            return 0;
        if (error == 0)
            error = errno;
        ::unlink(temporary.c_str());
        return error;
    }
    return EEXIST;
}

} // namespace platform
