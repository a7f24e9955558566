#include "media/FilesInProgress.h"

#include <array>
#include <atomic>
#include <climits>
#include <csignal>
#include <cstring>
#include <mutex>
#include <random>
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
    struct stat info {};
    if (onlyWhileSameFile && ::lstat(path.c_str(), &info) != 0)
        return;
    list(path.native(), onlyWhileSameFile, info.st_dev, info.st_ino);
}

FileInProgress::FileInProgress(const std::filesystem::path& path, dev_t device, ino_t inode) {
    list(path.native(), true, device, inode);
}

void FileInProgress::list(const std::string& path, bool onlyWhileSameFile, dev_t device, ino_t inode) {
    if (path.size() >= PATH_MAX)
        return;
    for (std::size_t i = 0; i < gSlots.size(); ++i) {
        Slot& slot = gSlots[i];
        int expected = Slot::Free;
        if (!slot.state.compare_exchange_strong(expected, Slot::Busy))
            continue;
        std::memcpy(slot.path, path.c_str(), path.size() + 1);
        slot.onlyWhileSameFile = onlyWhileSameFile;
        slot.device = device;
        slot.inode = inode;
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

std::filesystem::path ownFileName(const std::filesystem::path& folder, const std::string& extension) {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    static std::mutex lock;
    static std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    std::string name = ".joinclip-" + std::to_string(::getpid()) + "-";
    {
        const std::lock_guard guard(lock);
        for (int i = 0; i < 8; ++i)
            name += kLetters[pick(generator)];
    }
    return folder / (name + extension);
}

void endBySignal(int signal) noexcept {
    removeFilesInProgress();
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    ::sigaction(signal, &action, nullptr);
    sigset_t mask;
    sigemptyset(&mask);
    sigaddset(&mask, signal);
    ::sigprocmask(SIG_UNBLOCK, &mask, nullptr); // a handler runs with its signal blocked
    ::raise(signal);
    ::_exit(128 + signal);
}

} // namespace media
