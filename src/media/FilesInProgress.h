#pragma once

// Files this process is in the middle of making (temporary files, names
// reserved for an output), which must not outlive a run that ends early. Each
// one is listed while its owner lives; removeFilesInProgress() removes every
// listed file and is safe to call from a signal handler, so that a run ended
// by SIGTERM, SIGHUP or a second Ctrl-C leaves nothing behind.

#include <filesystem>
#include <sys/types.h>

namespace media {

class FileInProgress final {
public:
    // Lists `path`. With `onlyWhileSameFile`, the file is removed only while it
    // is still the one created (same device and inode): a name reserved by an
    // empty file that the finished movie has since replaced is left alone.
    FileInProgress(const std::filesystem::path& path, bool onlyWhileSameFile);
    ~FileInProgress();
    FileInProgress(const FileInProgress&) = delete;
    FileInProgress& operator=(const FileInProgress&) = delete;

private:
    int m_slot = -1; // -1 when the table was full (the owner's own clean-up still runs)
};

// Removes every listed file. Async-signal-safe: only lstat and unlink.
void removeFilesInProgress() noexcept;

} // namespace media
