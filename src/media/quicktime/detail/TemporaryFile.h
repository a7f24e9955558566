#pragma once

// Private to src/media/quicktime: a new file written beside its destination
// and renamed into place only when complete.

#include "media/Error.h"

#include <expected>
#include <filesystem>

namespace media::quicktime::detail {

class TemporaryFile final {
public:
    // An empty hidden file in the destination's folder.
    static std::expected<TemporaryFile, Error> createBeside(const std::filesystem::path& destination);

    TemporaryFile(TemporaryFile&& other) noexcept;
    TemporaryFile& operator=(TemporaryFile&&) = delete;
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    // Removes the file unless it was committed.
    ~TemporaryFile();

    int fd() const { return m_fd; }
    const std::filesystem::path& path() const { return m_path; }

    // Closes the file and renames it over the destination.
    std::expected<void, Error> commit();

private:
    TemporaryFile(std::filesystem::path path, std::filesystem::path destination, int fd)
        : m_path(std::move(path)), m_destination(std::move(destination)), m_fd(fd) {}

    std::filesystem::path m_path;
    std::filesystem::path m_destination;
    int m_fd = -1;
    bool m_committed = false;
};

} // namespace media::quicktime::detail
