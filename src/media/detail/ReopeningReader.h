#pragma once

// Private to src/media: FFmpeg's reading of a source file without holding a
// file descriptor for every source. A list of ten thousand clips keeps ten
// thousand sources, far more than the open-file limit; so at most
// kOpenReaders of them hold their file open, the least recently read one
// closing it when another needs one, and it is opened again (the same file,
// checked by device and inode) when next read.

#include "media/Error.h"
#include "media/detail/FFmpeg.h"

#include <cstdint>
#include <expected>
#include <filesystem>
#include <list>
#include <memory>
#include <mutex>
#include <sys/types.h>

namespace media::detail {

class ReopeningReader final {
public:
    static constexpr std::size_t kOpenReaders = 32;

    [[nodiscard]] static std::expected<std::unique_ptr<ReopeningReader>, Error>
    open(const std::filesystem::path& path);
    ~ReopeningReader();
    ReopeningReader(const ReopeningReader&) = delete;
    ReopeningReader& operator=(const ReopeningReader&) = delete;

    // The I/O context for avformat_open_input (with AVFMT_FLAG_CUSTOM_IO); ours to free.
    AVIOContext* io() const { return m_io; }

private:
    explicit ReopeningReader(std::filesystem::path path);
    static int readPacket(void* opaque, std::uint8_t* buffer, int size);
    static std::int64_t seek(void* opaque, std::int64_t offset, int whence);
    // The open descriptor, opening the file again when it was closed; -errno on failure.
    int descriptor();
    // Closes the descriptor unless the reader is busy; whether it did.
    [[nodiscard]] bool closeIfIdle();

    std::filesystem::path m_path;
    dev_t m_device = 0;
    ino_t m_inode = 0;
    std::int64_t m_size = 0;
    std::int64_t m_position = 0;
    int m_fd = -1;
    AVIOContext* m_io = nullptr;
    std::mutex m_use; // held while reading, so the descriptor is not closed under it
    std::list<ReopeningReader*>::iterator m_openEntry;
};

} // namespace media::detail
