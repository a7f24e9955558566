#include "media/quicktime/detail/AtomStream.h"

#include "media/quicktime/detail/FileWriting.h"

#include <cstring>

namespace media::quicktime::detail {

AtomStream::AtomStream(int fd, std::uint64_t start) : m_fd(fd), m_bufferStart(start) {
    m_buffer.reserve(kBufferSize + 64);
}

void AtomStream::big(std::uint64_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i)
        m_buffer.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    flushIfFull();
}

void AtomStream::zeros(std::size_t count) {
    m_buffer.insert(m_buffer.end(), count, 0);
    flushIfFull();
}

void AtomStream::bytes(std::span<const std::uint8_t> data) {
    m_buffer.insert(m_buffer.end(), data.begin(), data.end());
    flushIfFull();
}

void AtomStream::text(std::string_view data) {
    m_buffer.insert(m_buffer.end(), data.begin(), data.end());
    flushIfFull();
}

std::uint64_t AtomStream::begin(FourCC type) {
    const std::uint64_t start = position();
    u32(0);
    fourCC(type);
    return start;
}

std::uint64_t AtomStream::beginFull(FourCC type, std::uint8_t version, std::uint32_t flags) {
    const std::uint64_t start = begin(type);
    u32((std::uint32_t(version) << 24) | (flags & 0xffffff));
    return start;
}

void AtomStream::end(std::uint64_t atomStart) {
    patch32(atomStart, static_cast<std::uint32_t>(position() - atomStart));
}

std::uint64_t AtomStream::reserve32() {
    const std::uint64_t at = position();
    u32(0);
    return at;
}

void AtomStream::patch32(std::uint64_t at, std::uint32_t value) {
    const std::uint8_t bytes[4] = {std::uint8_t(value >> 24), std::uint8_t(value >> 16),
                                   std::uint8_t(value >> 8), std::uint8_t(value)};
    for (int i = 0; i < 4; ++i) {
        const std::uint64_t where = at + static_cast<std::uint64_t>(i);
        if (where >= m_bufferStart) {
            m_buffer[static_cast<std::size_t>(where - m_bufferStart)] = bytes[i];
        } else if (m_error == 0) {
            if (auto written = writeAt(m_fd, where, std::span(bytes + i, 1)); !written)
                m_error = written.error().code;
        }
    }
}

void AtomStream::flush() {
    if (m_error == 0 && !m_buffer.empty()) {
        if (auto written = writeAt(m_fd, m_bufferStart, m_buffer); !written)
            m_error = written.error().code;
    }
    m_bufferStart += m_buffer.size();
    m_buffer.clear();
}

std::expected<void, Error> AtomStream::finish() {
    flush();
    if (m_error != 0)
        return std::unexpected(Error{m_error, std::string("The movie header cannot be written: ") +
                                                  std::strerror(m_error) + "."});
    return {};
}

} // namespace media::quicktime::detail
