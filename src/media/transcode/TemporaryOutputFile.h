#pragma once

// Private to src/media: a new file beside a destination that becomes the
// destination only when committed; otherwise it is removed.

#include "media/Error.h"

#include <expected>
#include <filesystem>

namespace media::transcode {

class TemporaryOutputFile final {
public:
    // Creates an empty, uniquely named hidden file in the destination's folder,
    // with the destination's extension.
    static std::expected<TemporaryOutputFile, Error> create(const std::filesystem::path& destination);

    TemporaryOutputFile(TemporaryOutputFile&& other) noexcept;
    TemporaryOutputFile& operator=(TemporaryOutputFile&&) = delete;
    TemporaryOutputFile(const TemporaryOutputFile&) = delete;
    TemporaryOutputFile& operator=(const TemporaryOutputFile&) = delete;
    ~TemporaryOutputFile();

    const std::filesystem::path& path() const { return m_path; }
    // Renames the file over the destination in one step.
    std::expected<void, Error> commit();
    // Renames the file to the destination only when nothing is there yet
    // (EEXIST otherwise, and the temporary file is removed as usual).
    std::expected<void, Error> commitWithoutReplacing();

private:
    TemporaryOutputFile(std::filesystem::path path, std::filesystem::path destination);

    std::filesystem::path m_path;
    std::filesystem::path m_destination;
};

} // namespace media::transcode
