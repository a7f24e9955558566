#pragma once

// Private to src/media: the positioned write every file writer of media/ uses.

#include <cstdint>
#include <expected>
#include <span>

namespace media::detail {

// Writes all of `data` at `offset` in the open file `fd`, going on after
// interrupted and short writes. On failure the errno (EIO for a write that
// makes no progress).
[[nodiscard]] std::expected<void, int> writeAllAt(int fd, std::span<const std::uint8_t> data, std::uint64_t offset);

} // namespace media::detail
