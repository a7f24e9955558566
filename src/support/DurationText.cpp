#include "support/DurationText.h"

namespace support {

void DurationText(std::uint32_t seconds, ShortText& text) {
    if (seconds == 0) {
        text.append("0 secs");
        return;
    }
    if (seconds >= 3600) {
        text.appendNumber(seconds / 3600);
        text.append(seconds < 7200 ? " hr " : " hrs ");
    }
    const std::uint32_t belowHour = seconds % 3600;
    if (belowHour >= 60) {
        text.appendNumber(belowHour / 60);
        text.append(belowHour < 120 ? " min " : " mins ");
    }
    const std::uint32_t belowMinute = belowHour % 60;
    if (belowMinute != 0) {
        text.appendNumber(belowMinute);
        text.append(belowMinute == 1 ? " sec " : " secs ");
    }
}

} // namespace support
