#pragma once

namespace media::detail {

// 128-bit integers for exact time arithmetic (a 64-bit value times a 32-bit
// scale always fits). __extension__ keeps -Wpedantic quiet about the GCC type.
__extension__ using Int128 = __int128;

} // namespace media::detail
