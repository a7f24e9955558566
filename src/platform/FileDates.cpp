#include "platform/FileDates.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

namespace platform {

namespace {

CatalogDate dateOf(const struct statx_timestamp& time) {
    return {time.tv_sec, time.tv_nsec};
}

// statx for the one time asked for; 0 or the errno code.
int readTime(const std::filesystem::path& path, unsigned int mask, struct statx& buffer) {
    if (statx(AT_FDCWD, path.c_str(), AT_NO_AUTOMOUNT, mask, &buffer) != 0)
        return errno;
    return (buffer.stx_mask & mask) ? 0 : ENOTSUP;
}

// utimensat for the mtime alone; 0 or the errno code.
int setModificationTime(const std::filesystem::path& path, const CatalogDate& date) {
    const struct timespec times[2] = {{0, UTIME_OMIT}, {date.seconds, static_cast<long>(date.nanoseconds)}};
    return utimensat(AT_FDCWD, path.c_str(), times, 0) == 0 ? 0 : errno;
}

bool fileExists(const std::filesystem::path& path) {
    struct stat buffer {};
    return !path.empty() && stat(path.c_str(), &buffer) == 0;
}

} // namespace

int GetCreationDate(const std::filesystem::path& path, CatalogDate& date) {
    struct statx buffer {};
    const int error = readTime(path, STATX_BTIME, buffer);
    if (error == 0)
        date = dateOf(buffer.stx_btime);
    return error;
}

int GetContentModDate(const std::filesystem::path& path, CatalogDate& date) {
    struct statx buffer {};
    const int error = readTime(path, STATX_MTIME, buffer);
    if (error == 0)
        date = dateOf(buffer.stx_mtime);
    return error;
}

int GetAttributeModDate(const std::filesystem::path& path, CatalogDate& date) {
    struct statx buffer {};
    const int error = readTime(path, STATX_CTIME, buffer);
    if (error == 0)
        date = dateOf(buffer.stx_ctime);
    return error;
}

void SetContentModDate(const std::filesystem::path& path, const CatalogDate& date) {
    setModificationTime(path, date);
}

void SetCreationDate(const std::filesystem::path&, const CatalogDate&) {}

void SetAttributeModDate(const std::filesystem::path&, const CatalogDate&) {}

bool CopyFileDates(const std::filesystem::path& source, const std::filesystem::path& dest) {
    if (!fileExists(source) || !fileExists(dest))
        return false;
    bool worked = true;
    CatalogDate date;
    if (GetContentModDate(source, date) == 0)
        worked = setModificationTime(dest, date) == 0;
    if (GetCreationDate(source, date) == 0)
        SetCreationDate(dest, date);
    if (GetAttributeModDate(source, date) == 0)
        SetAttributeModDate(dest, date);
    return worked;
}

} // namespace platform
