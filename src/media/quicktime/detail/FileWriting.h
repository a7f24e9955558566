#pragma once

// Private to src/media/quicktime: positioned writes and kernel-side copies.

#include "media/Error.h"

#include <cstdint>
#include <expected>
#include <functional>
#include <span>

namespace media::quicktime::detail {

// Writes all of `data` at `offset`.
[[nodiscard]] std::expected<void, Error> writeAt(int fd, std::uint64_t offset,
                                                 std::span<const std::uint8_t> data);

// Called after each piece of a copy with the bytes copied so far; false cancels.
using CopyProgress = std::function<bool(std::uint64_t copied)>;

// Copies `length` bytes from `from` at `fromOffset` to `to` at `toOffset`,
// in the kernel with copy_file_range where the file systems allow it, else by
// reading and writing through a small buffer. Fails with ECANCELED when
// `progress` answers false, and with EIO when the source ends early.
[[nodiscard]] std::expected<void, Error> copyBytes(int from, std::uint64_t fromOffset, int to,
                                                   std::uint64_t toOffset, std::uint64_t length,
                                                   const CopyProgress& progress);

} // namespace media::quicktime::detail
