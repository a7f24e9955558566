#pragma once

// Private to src/media/quicktime: big-endian reading of atom bodies.

#include <cstddef>
#include <cstdint>
#include <span>

namespace media::quicktime::detail {

using Bytes = std::span<const std::uint8_t>;

// Reads big-endian fields from a byte span. Reading past the end answers zeros
// and marks the reader failed, so a parser reads a whole structure and checks
// ok() once instead of testing every field.
class ByteReader final {
public:
    explicit ByteReader(Bytes bytes) : m_bytes(bytes) {}

    bool ok() const { return !m_failed; }
    std::size_t position() const { return m_position; }
    std::size_t remaining() const { return m_failed ? 0 : m_bytes.size() - m_position; }

    std::uint8_t u8() { return static_cast<std::uint8_t>(read(1)); }
    std::uint16_t u16() { return static_cast<std::uint16_t>(read(2)); }
    std::uint32_t u24() { return static_cast<std::uint32_t>(read(3)); }
    std::uint32_t u32() { return static_cast<std::uint32_t>(read(4)); }
    std::uint64_t u64() { return read(8); }
    std::int16_t i16() { return static_cast<std::int16_t>(u16()); }
    std::int32_t i32() { return static_cast<std::int32_t>(u32()); }
    std::int64_t i64() { return static_cast<std::int64_t>(u64()); }

    void skip(std::size_t count) {
        if (count > remaining())
            fail();
        else
            m_position += count;
    }
    // The next `count` bytes (empty and failed when there are fewer).
    Bytes take(std::size_t count) {
        if (count > remaining()) {
            fail();
            return {};
        }
        const Bytes part = m_bytes.subspan(m_position, count);
        m_position += count;
        return part;
    }
    // Whether `count` entries of `entrySize` bytes each fit in what is left:
    // the check made before any allocation sized by a count from the file.
    bool fits(std::uint64_t count, std::size_t entrySize) const {
        return entrySize == 0 || count <= remaining() / entrySize;
    }

private:
    std::uint64_t read(std::size_t count) {
        if (count > remaining()) {
            fail();
            return 0;
        }
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < count; ++i)
            value = (value << 8) | m_bytes[m_position + i];
        m_position += count;
        return value;
    }
    void fail() {
        m_failed = true;
        m_position = m_bytes.size();
    }

    Bytes m_bytes;
    std::size_t m_position = 0;
    bool m_failed = false;
};

} // namespace media::quicktime::detail
