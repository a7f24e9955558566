#include "media/detail/ReopeningReader.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace media::detail {

namespace {

constexpr int kBufferSize = 64 * 1024;

// The readers whose file is open, least recently used first.
std::mutex gOpenLock;
std::list<ReopeningReader*> gOpen;

} // namespace

std::expected<std::unique_ptr<ReopeningReader>, Error>
ReopeningReader::open(const std::filesystem::path& path) {
    std::unique_ptr<ReopeningReader> reader(new ReopeningReader(path));
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return std::unexpected(
            Error{AVERROR(errno), std::string("cannot read the file: ") + std::strerror(errno)});
    struct stat info {};
    if (::fstat(descriptor, &info) != 0) {
        const int code = errno;
        ::close(descriptor);
        return std::unexpected(
            Error{AVERROR(code), std::string("cannot read the file: ") + std::strerror(code)});
    }
    reader->m_device = info.st_dev;
    reader->m_inode = info.st_ino;
    reader->m_size = info.st_size;
    ::close(descriptor); // opened again on the first read, through the pool

    auto* buffer = static_cast<unsigned char*>(av_malloc(kBufferSize));
    if (!buffer)
        return std::unexpected(Error{AVERROR(ENOMEM), "out of memory"});
    reader->m_io = avio_alloc_context(buffer, kBufferSize, 0, reader.get(), readPacket, nullptr, seek);
    if (!reader->m_io) {
        av_free(buffer);
        return std::unexpected(Error{AVERROR(ENOMEM), "out of memory"});
    }
    return reader;
}

ReopeningReader::ReopeningReader(std::filesystem::path path)
    : m_path(std::move(path)), m_openEntry(gOpen.end()) {}

ReopeningReader::~ReopeningReader() {
    {
        const std::lock_guard pool(gOpenLock);
        if (m_fd >= 0) {
            gOpen.erase(m_openEntry);
            ::close(m_fd);
        }
    }
    if (m_io) {
        av_freep(&m_io->buffer);
        avio_context_free(&m_io);
    }
}

bool ReopeningReader::closeIfIdle() {
    const std::unique_lock use(m_use, std::try_to_lock);
    if (!use.owns_lock())
        return false;
    ::close(m_fd);
    m_fd = -1;
    return true;
}

int ReopeningReader::descriptor() {
    const std::lock_guard pool(gOpenLock);
    if (m_fd >= 0) {
        gOpen.splice(gOpen.end(), gOpen, m_openEntry);
        return m_fd;
    }
    // Make room: the least recently used reader that is not reading right now closes its file.
    for (auto it = gOpen.begin(); gOpen.size() >= kOpenReaders && it != gOpen.end();) {
        ReopeningReader* other = *it;
        if (other->closeIfIdle()) {
            it = gOpen.erase(it);
            other->m_openEntry = gOpen.end();
        } else {
            ++it;
        }
    }
    const int fd = ::open(m_path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return -errno;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || info.st_dev != m_device || info.st_ino != m_inode) {
        ::close(fd);
        return -ESTALE; // not the file that was opened: it was replaced or moved meanwhile
    }
    m_fd = fd;
    m_openEntry = gOpen.insert(gOpen.end(), this);
    return m_fd;
}

int ReopeningReader::readPacket(void* opaque, std::uint8_t* buffer, int size) {
    auto* reader = static_cast<ReopeningReader*>(opaque);
    const std::lock_guard use(reader->m_use);
    const int fd = reader->descriptor();
    if (fd < 0)
        return AVERROR(-fd);
    const ssize_t got = ::pread(fd, buffer, static_cast<std::size_t>(size), reader->m_position);
    if (got < 0)
        return AVERROR(errno);
    if (got == 0)
        return AVERROR_EOF;
    reader->m_position += got;
    return static_cast<int>(got);
}

std::int64_t ReopeningReader::seek(void* opaque, std::int64_t offset, int whence) {
    auto* reader = static_cast<ReopeningReader*>(opaque);
    const std::lock_guard use(reader->m_use);
    switch (whence & ~AVSEEK_FORCE) {
    case AVSEEK_SIZE:
        return reader->m_size;
    case SEEK_SET:
        break;
    case SEEK_CUR:
        offset += reader->m_position;
        break;
    case SEEK_END:
        offset += reader->m_size;
        break;
    default:
        return AVERROR(EINVAL);
    }
    if (offset < 0)
        return AVERROR(EINVAL);
    reader->m_position = offset;
    return offset;
}

} // namespace media::detail
