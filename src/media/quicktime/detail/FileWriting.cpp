#include "media/quicktime/detail/FileWriting.h"

#include "media/detail/WriteAllAt.h"

#include <cerrno>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

namespace media::quicktime::detail {

namespace {

// Each call copies at most this much, so progress is reported and cancelling is quick.
constexpr std::uint64_t kPiece = 16ull << 20;
constexpr std::size_t kBufferSize = 1 << 20;

Error ioError(int code, const char* what) {
    return Error{code,
                 std::string("The movie cannot be written: ") + what + ": " + std::strerror(code) + "."};
}

Error cancelled() {
    return Error{ECANCELED, "Writing the movie was cancelled."};
}

bool kernelCopyUnavailable(int code) {
    return code == EXDEV || code == ENOSYS || code == EINVAL || code == EOPNOTSUPP || code == EBADF;
}

} // namespace

std::expected<void, Error> writeAt(int fd, std::uint64_t offset, std::span<const std::uint8_t> data) {
    if (auto written = media::detail::writeAllAt(fd, data, offset); !written)
        return std::unexpected(ioError(written.error(), "writing failed"));
    return {};
}

std::expected<void, Error> copyBytes(int from, std::uint64_t fromOffset, int to, std::uint64_t toOffset,
                                     std::uint64_t length, const CopyProgress& progress) {
    std::uint64_t copied = 0;
    bool kernelCopy = true;
    std::vector<std::uint8_t> buffer;
    while (copied < length) {
        const std::uint64_t piece = std::min(kPiece, length - copied);
        std::uint64_t done = 0;
        while (done < piece) {
            if (kernelCopy) {
                off_t in = static_cast<off_t>(fromOffset + copied + done);
                off_t out = static_cast<off_t>(toOffset + copied + done);
                const ssize_t moved = ::copy_file_range(from, &in, to, &out, piece - done, 0);
                if (moved > 0) {
                    done += static_cast<std::uint64_t>(moved);
                    continue;
                }
                if (moved == 0)
                    return std::unexpected(ioError(EIO, "a source file ended early"));
                if (errno == EINTR)
                    continue;
                if (!kernelCopyUnavailable(errno))
                    return std::unexpected(ioError(errno, "copying failed"));
                kernelCopy = false; // another file system, or no kernel support: copy by hand
                buffer.resize(kBufferSize);
            }
            const std::size_t want =
                static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), piece - done));
            const ssize_t got =
                ::pread(from, buffer.data(), want, static_cast<off_t>(fromOffset + copied + done));
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                return std::unexpected(ioError(errno, "reading a source failed"));
            if (got == 0)
                return std::unexpected(ioError(EIO, "a source file ended early"));
            if (auto written = writeAt(to, toOffset + copied + done,
                                       std::span(buffer.data(), static_cast<std::size_t>(got)));
                !written)
                return written;
            done += static_cast<std::uint64_t>(got);
        }
        copied += piece;
        if (progress && !progress(copied))
            return std::unexpected(cancelled());
    }
    return {};
}

} // namespace media::quicktime::detail
