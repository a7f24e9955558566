#pragma once

#include "support/ShortText.h"

#include <cstdint>

namespace join {

// Seconds still to go when `fraction` (0 to 1) of the work took `elapsed`
// seconds: elapsed / fraction - elapsed in 32-bit floats, truncated; 0 while
// nothing is done yet (the quotient is not finite then).
std::uint32_t remainingSeconds(std::uint32_t elapsed, double fraction);

// "Elapsed Time: 30 secs, Est. Time Remaining: 1 min 30 secs", built
// without allocating (it is rebuilt on every progress update).
void timeLine(std::uint32_t elapsed, std::uint32_t remaining, support::ShortText& line);

} // namespace join
