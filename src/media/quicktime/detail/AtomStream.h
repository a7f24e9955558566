#pragma once

// Private to src/media/quicktime: writing atoms to a file through a buffer,
// with their sizes filled in when they end, so a movie atom of any length is
// streamed without being held in memory.

#include "media/Error.h"
#include "media/quicktime/FourCC.h"

#include <cstdint>
#include <expected>
#include <span>
#include <string_view>
#include <vector>

namespace media::quicktime::detail {

class AtomStream final {
public:
    // Writes to `fd` from file position `start` on.
    AtomStream(int fd, std::uint64_t start);

    std::uint64_t position() const { return m_bufferStart + m_buffer.size(); }

    void u8(std::uint8_t value) {
        m_buffer.push_back(value);
        flushIfFull();
    }
    void u16(std::uint16_t value) { big(value, 2); }
    void u32(std::uint32_t value) { big(value, 4); }
    void u64(std::uint64_t value) { big(value, 8); }
    void fourCC(FourCC value) { big(value, 4); }
    void zeros(std::size_t count);
    void bytes(std::span<const std::uint8_t> data);
    void text(std::string_view data);

    // Starts an atom; end() fills in its 32-bit size.
    std::uint64_t begin(FourCC type);
    void end(std::uint64_t atomStart);
    // Starts an atom with version and flags.
    std::uint64_t beginFull(FourCC type, std::uint8_t version, std::uint32_t flags);

    // A 32-bit field whose value is known later: reserve it, then patch it.
    std::uint64_t reserve32();
    void patch32(std::uint64_t at, std::uint32_t value);

    // Writes what is buffered; answers the first write error, if any.
    [[nodiscard]] std::expected<void, Error> finish();

private:
    void big(std::uint64_t value, int bytes);
    void flushIfFull() {
        if (m_buffer.size() >= kBufferSize)
            flush();
    }
    void flush();

    static constexpr std::size_t kBufferSize = 1 << 20;
    int m_fd;
    std::uint64_t m_bufferStart;
    std::vector<std::uint8_t> m_buffer;
    int m_error = 0;
};

} // namespace media::quicktime::detail
