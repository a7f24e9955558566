#pragma once

#include <cstdint>
#include <expected>
#include <filesystem>

namespace platform {

// A file's catalog date: seconds and nanoseconds since 1970-01-01 UTC.
struct CatalogDate {
    std::int64_t seconds = 0;
    std::uint32_t nanoseconds = 0;
    bool operator==(const CatalogDate&) const = default;
};

// Readers answer the date, or the errno code that kept it from being read.
// Each follows a symbolic link to the item it leads to.

// The birth time (statx); ENOTSUP when the file system keeps none.
[[nodiscard]] std::expected<CatalogDate, int> GetCreationDate(const std::filesystem::path& path);
// The time the content was last written (mtime).
[[nodiscard]] std::expected<CatalogDate, int> GetContentModDate(const std::filesystem::path& path);
// The time the content or the attributes last changed (ctime).
[[nodiscard]] std::expected<CatalogDate, int> GetAttributeModDate(const std::filesystem::path& path);

// Writers report nothing: a date that cannot be set is simply left alone.

// Sets the mtime, keeping the access time.
void SetContentModDate(const std::filesystem::path& path, const CatalogDate& date);
// Does nothing: Linux gives no way to set a birth time.
void SetCreationDate(const std::filesystem::path& path, const CatalogDate& date);
// Does nothing: the kernel alone sets the status-change time (any change sets it to now).
void SetAttributeModDate(const std::filesystem::path& path, const CatalogDate& date);

// Gives `dest` the dates of `source` (as an exported file takes those of the
// file it was made from): the content modification date, then the creation
// date, then the attribute modification date, each only when it can be read
// from `source`. Linux sets the first alone: a birth time cannot be set at
// all, and the status-change time is the kernel's (setting the first makes it
// now). Answers false when either file is missing or a date that Linux can
// set could not be set; true otherwise.
[[nodiscard]] bool CopyFileDates(const std::filesystem::path& source, const std::filesystem::path& dest);

} // namespace platform
