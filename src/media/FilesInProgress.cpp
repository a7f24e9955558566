#include "media/FilesInProgress.h"

#include <array>
#include <atomic>
#include <climits>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace media {

namespace {

// A fixed table, since a signal handler may neither allocate nor lock. A
// handful of files are in progress at once (the output and its scratch parts).
struct Slot final {
    // Free, being filled or emptied (not to be touched by the handler), or ready.
    enum State : int { Free, Busy, Ready };
    std::atomic<int> state{Free};
    char path[PATH_MAX] = {};
    bool onlyWhileSameFile = false;
    dev_t device = 0;
    ino_t inode = 0;
};

std::array<Slot, 64> gSlots;

} // namespace

FileInProgress::FileInProgress(const std::filesystem::path& path, bool onlyWhileSameFile) {
    const std::string& bytes = path.native();
    if (bytes.size() >= PATH_MAX)
        return;
    struct stat info {};
    if (onlyWhileSameFile && ::lstat(bytes.c_str(), &info) != 0)
        return;
    for (std::size_t i = 0; i < gSlots.size(); ++i) {
        Slot& slot = gSlots[i];
        int expected = Slot::Free;
        if (!slot.state.compare_exchange_strong(expected, Slot::Busy))
            continue;
        std::memcpy(slot.path, bytes.c_str(), bytes.size() + 1);
        slot.onlyWhileSameFile = onlyWhileSameFile;
        slot.device = info.st_dev;
        slot.inode = info.st_ino;
        slot.state.store(Slot::Ready);
        m_slot = static_cast<int>(i);
        return;
    }
}

FileInProgress::~FileInProgress() {
    if (m_slot >= 0)
        gSlots[static_cast<std::size_t>(m_slot)].state.store(Slot::Free);
}

void removeFilesInProgress() noexcept {
    for (Slot& slot : gSlots) {
        int expected = Slot::Ready;
        if (!slot.state.compare_exchange_strong(expected, Slot::Busy))
            continue;
        struct stat info {};
        if (!slot.onlyWhileSameFile ||
            (::lstat(slot.path, &info) == 0 && info.st_dev == slot.device && info.st_ino == slot.inode))
            ::unlink(slot.path);
        slot.state.store(Slot::Free);
    }
}

} // namespace media
