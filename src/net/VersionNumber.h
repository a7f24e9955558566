#pragma once

#include <QString>
#include <cstdint>

namespace net {

// The number of a version text, as version files publish it: every "." is
// removed and what remains is read as a decimal integer the way atol reads
// it (leading blanks skipped, an optional sign, the digits up to the first
// other character; 0 when there are none). So "2.0.3" is 203 and "2.1" is 21:
// numbers compare as plain integers, never part by part. Only the first 254
// bytes of the text count; a number beyond the 32-bit range is held at its end.
[[nodiscard]] std::int32_t versionNumber(const QString& text);

} // namespace net
