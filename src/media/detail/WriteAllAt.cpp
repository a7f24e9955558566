#include "media/detail/WriteAllAt.h"

#include <cerrno>
#include <unistd.h>

namespace media::detail {

std::expected<void, int> writeAllAt(int fd, std::span<const std::uint8_t> data, std::uint64_t offset) {
    while (!data.empty()) {
        const ssize_t written = ::pwrite(fd, data.data(), data.size(), static_cast<off_t>(offset));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return std::unexpected(written < 0 ? errno : EIO);
        data = data.subspan(static_cast<std::size_t>(written));
        offset += static_cast<std::uint64_t>(written);
    }
    return {};
}

} // namespace media::detail
