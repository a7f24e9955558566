#pragma once

// Private to src/media: a new file beside a destination that becomes the
// destination only when committed; otherwise it is removed. Every file the
// media framework writes goes through one, so a failed or cancelled write
// leaves nothing behind and never replaces a good file with a bad one.

#include "media/Error.h"
#include "media/FilesInProgress.h"

#include <expected>
#include <filesystem>
#include <memory>

namespace media::detail {

class TemporaryFile final {
public:
    // Creates an empty, uniquely named hidden file in the destination's folder,
    // with the destination's extension (which FFmpeg's writers go by), open
    // for reading and writing. Its name, ".joinclip-PID-RANDOM.EXT", is short
    // (it fits wherever the destination's name fits) and tells whose it is:
    // before the first write in a folder, the files so named that a process
    // no longer running left there, older than this process, are removed.
    [[nodiscard]] static std::expected<TemporaryFile, Error> create(const std::filesystem::path& destination);

    TemporaryFile(TemporaryFile&& other) noexcept;
    TemporaryFile& operator=(TemporaryFile&&) = delete;
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    // Closes the file and removes it unless it was committed.
    ~TemporaryFile();

    const std::filesystem::path& path() const { return m_path; }
    // The open file, for writers that write it themselves rather than by path.
    int fd() const { return m_fd; }
    // Closes the file and renames it over the destination in one step.
    [[nodiscard]] std::expected<void, Error> commit();
    // Closes the file and renames it to the destination only when nothing is
    // there yet (EEXIST otherwise, and the temporary file is removed as usual).
    [[nodiscard]] std::expected<void, Error> commitWithoutReplacing();

private:
    TemporaryFile(std::filesystem::path path, std::filesystem::path destination, int fd,
                  std::unique_ptr<FileInProgress> inProgress);
    // Closes the descriptor; an error when the kernel reports a failed write-back.
    [[nodiscard]] std::expected<void, Error> close();

    std::filesystem::path m_path; // empty once committed or moved from
    std::filesystem::path m_destination;
    int m_fd = -1;
    // Removes the file if the process is ended by a signal meanwhile.
    std::unique_ptr<FileInProgress> m_inProgress;
};

} // namespace media::detail
