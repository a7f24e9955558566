#include "filelist/DurationLine.h"

#include "filelist/ValueTexts.h"
#include "support/FormatText.h"

#include <cmath>

namespace filelist {

std::optional<QString> durationLine(const std::vector<media::Time>& durations,
                                    std::optional<qint64> desiredSeconds) {
    media::Time sum = media::zeroTime();
    for (const media::Time& time : durations)
        sum = media::addTimes(sum, time);
    if (media::isIndefinite(sum))
        return std::nullopt;

    QString line = support::fillFormat("Total Duration: %@", {readableDuration(sum)});
    if (desiredSeconds && *desiredSeconds > 0 && sum.value != 0 && sum.scale > 0) {
        // D seconds written in the sum's scale, computed as D / (V / S) * V.
        const double value = static_cast<double>(sum.value);
        const double scaled = static_cast<double>(*desiredSeconds) / (value / sum.scale) * value;
        if (std::isfinite(scaled) && std::abs(scaled) < 9.2e18) {
            media::Time total = sum;
            total.value = static_cast<std::int64_t>(std::trunc(scaled));
            line += ", " + support::fillFormat("Total Scaled Duration: %@", {readableDuration(total)});
        }
    }
    return line;
}

} // namespace filelist
