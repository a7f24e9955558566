#include "join/ProgressEstimate.h"

#include "support/DurationText.h"

#include <cmath>
#include <limits>
#include <string_view>

namespace join {

std::uint32_t remainingSeconds(std::uint32_t elapsed, double fraction) {
    const float done = static_cast<float>(fraction * 100) / 100;
    const float remaining = static_cast<float>(elapsed) / done - static_cast<float>(elapsed);
    if (!std::isfinite(remaining) || remaining <= 0)
        return 0;
    if (remaining >= static_cast<float>(std::numeric_limits<std::uint32_t>::max()))
        return std::numeric_limits<std::uint32_t>::max();
    return static_cast<std::uint32_t>(remaining);
}

void timeLine(std::uint32_t elapsed, std::uint32_t remaining, support::ShortText& line) {
    // The duration texts end in a blank; a comma follows the word directly.
    const auto trimmed = [](std::string_view text) {
        while (!text.empty() && text.back() == ' ')
            text.remove_suffix(1);
        return text;
    };
    support::ShortText duration;
    line.assign("Elapsed Time: ");
    support::DurationText(elapsed, duration);
    line.append(trimmed(duration.view()));
    line.append(", Est. Time Remaining: ");
    duration.clear();
    support::DurationText(remaining, duration);
    line.append(trimmed(duration.view()));
}

} // namespace join
