#include "net/DownloadProgressLine.h"

#include "platform/LocaleFormat.h"
#include "support/DurationText.h"
#include "support/FormatText.h"
#include "support/LocalizedString.h"
#include "support/ShortText.h"

#include <algorithm>

namespace net {

QString downloadProgressLine(qint64 received, qint64 expected, std::uint32_t elapsedSeconds) {
    const double fraction =
        expected > 0 ? std::clamp(static_cast<double>(received) / static_cast<double>(expected), 0.0, 1.0) : 0.0;
    // Nothing is known of what remains before the first byte.
    const float remaining = fraction > 0.0 ? static_cast<float>(elapsedSeconds) / static_cast<float>(fraction) -
                                                 static_cast<float>(elapsedSeconds)
                                           : 0.0f;
    support::ShortText times;
    times.assign("Elapsed: ");
    support::ShortText duration;
    support::DurationText(elapsedSeconds, duration);
    times.append(duration.view());
    times.append(", Remaining: ");
    duration.clear();
    support::DurationText(static_cast<std::uint32_t>(std::clamp(remaining, 0.0f, 4.0e9f)), duration);
    times.append(duration.view());

    const QString bytes = support::fillFormat(
        support::LocalizedString("(%@ of %@ bytes"),
        {platform::formatNumberWithGrouping(received), platform::formatNumberWithGrouping(expected)});
    return support::fillFormat(support::LocalizedString("%d percent, %@, %s)"),
                               {QString::number(static_cast<int>(fraction * 100.0)), bytes,
                                QString::fromUtf8(times.c_str())});
}

QString queueCountLine(int queued) {
    const int waiting = queued - 1;
    return support::fillFormat(support::LocalizedString(queued == 2 ? "%d URL queued for download."
                                                                     : "%d URLs queued for download."),
                               {QString::number(waiting)});
}

} // namespace net
