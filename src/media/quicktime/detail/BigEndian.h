#pragma once

// Private to src/media/quicktime: appending big-endian fields to a byte vector.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace media::quicktime::detail {

using ByteVector = std::vector<std::uint8_t>;

inline void appendBig(ByteVector& out, std::uint64_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}
inline void appendBytes(ByteVector& out, std::span<const std::uint8_t> bytes) {
    out.insert(out.end(), bytes.begin(), bytes.end());
}
inline void appendText(ByteVector& out, std::string_view text) {
    out.insert(out.end(), text.begin(), text.end());
}
// Overwrites `bytes` bytes at `at` with `value`, big-endian.
inline void storeBig(ByteVector& out, std::size_t at, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out[at + i] = static_cast<std::uint8_t>(value >> (8 * (bytes - 1 - i)));
}

} // namespace media::quicktime::detail
