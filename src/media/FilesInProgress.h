#pragma once

// Files this process is in the middle of making (temporary files, names
// reserved for an output), which must not outlive a run that ends early. Each
// one is listed while its owner lives; removeFilesInProgress() removes every
// listed file and is safe to call from a signal handler, so that a run ended
// by SIGTERM, SIGHUP or a second Ctrl-C leaves nothing behind.

#include <filesystem>
#include <string>
#include <sys/types.h>

namespace media {

class FileInProgress final {
public:
    // Lists `path`. With `onlyWhileSameFile`, the file is removed only while it
    // is still the one created (same device and inode): a name reserved by an
    // empty file that the finished movie has since replaced is left alone.
    FileInProgress(const std::filesystem::path& path, bool onlyWhileSameFile);
    // Lists `path` as the file `device`/`inode`, which may not be there yet: it
    // is removed only while the name holds that file. So a name can be listed
    // before our file is linked to it, and a name that turns out to be taken
    // is left alone.
    FileInProgress(const std::filesystem::path& path, dev_t device, ino_t inode);
    ~FileInProgress();
    FileInProgress(const FileInProgress&) = delete;
    FileInProgress& operator=(const FileInProgress&) = delete;

private:
    void list(const std::string& path, bool onlyWhileSameFile, dev_t device, ino_t inode);

    int m_slot = -1; // -1 when the table was full (the owner's own clean-up still runs)
};

// A name in `folder` that no other process uses, for a file of this process's
// own: ".joinclip-PID-RANDOM" and `extension`. Files so named that a process no
// longer running left behind are swept before the next write in their folder.
std::filesystem::path ownFileName(const std::filesystem::path& folder, const std::string& extension = {});

// Removes every listed file. Async-signal-safe: only lstat and unlink.
void removeFilesInProgress() noexcept;

// Removes every listed file, then ends the process by `signal` with its
// default action, so the parent sees how it ended.
[[noreturn]] void endBySignal(int signal) noexcept;

} // namespace media
