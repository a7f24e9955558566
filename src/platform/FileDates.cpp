#include "platform/FileDates.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

namespace platform {

namespace {

// statx for the one time asked for: that time, or the errno code.
std::expected<CatalogDate, int> readTime(const std::filesystem::path& path, unsigned int mask,
                                         struct statx_timestamp statx::*time) {
    struct statx buffer {};
    if (statx(AT_FDCWD, path.c_str(), AT_NO_AUTOMOUNT, mask, &buffer) != 0)
        return std::unexpected(errno);
    if ((buffer.stx_mask & mask) == 0)
        return std::unexpected(ENOTSUP);
    return CatalogDate{(buffer.*time).tv_sec, (buffer.*time).tv_nsec};
}

// utimensat for the mtime alone; 0 or the errno code.
[[nodiscard]] int setModificationTime(const std::filesystem::path& path, const CatalogDate& date) {
    const struct timespec times[2] = {{0, UTIME_OMIT}, {date.seconds, static_cast<long>(date.nanoseconds)}};
    return utimensat(AT_FDCWD, path.c_str(), times, 0) == 0 ? 0 : errno;
}

bool fileExists(const std::filesystem::path& path) {
    struct stat buffer {};
    return !path.empty() && stat(path.c_str(), &buffer) == 0;
}

} // namespace

std::expected<CatalogDate, int> GetCreationDate(const std::filesystem::path& path) {
    return readTime(path, STATX_BTIME, &statx::stx_btime);
}

std::expected<CatalogDate, int> GetContentModDate(const std::filesystem::path& path) {
    return readTime(path, STATX_MTIME, &statx::stx_mtime);
}

std::expected<CatalogDate, int> GetAttributeModDate(const std::filesystem::path& path) {
    return readTime(path, STATX_CTIME, &statx::stx_ctime);
}

void SetContentModDate(const std::filesystem::path& path, const CatalogDate& date) {
    (void)setModificationTime(path, date); // a date that cannot be set is left alone, as the header says
}

void SetCreationDate(const std::filesystem::path&, const CatalogDate&) {}

void SetAttributeModDate(const std::filesystem::path&, const CatalogDate&) {}

bool CopyFileDates(const std::filesystem::path& source, const std::filesystem::path& dest) {
    if (!fileExists(source) || !fileExists(dest))
        return false;
    bool worked = true;
    if (const auto modified = GetContentModDate(source))
        worked = setModificationTime(dest, *modified) == 0;
    if (const auto created = GetCreationDate(source))
        SetCreationDate(dest, *created);
    if (const auto changed = GetAttributeModDate(source))
        SetAttributeModDate(dest, *changed);
    return worked;
}

} // namespace platform
