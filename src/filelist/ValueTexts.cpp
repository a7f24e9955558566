#include "filelist/ValueTexts.h"

#include "platform/LocaleFormat.h"
#include "support/FormatText.h"
#include "support/LocalizedString.h"

#include <array>

namespace filelist {

namespace {

QString twoDigits(std::int64_t number) {
    return QString::number(number).rightJustified(2, u'0');
}

} // namespace

QString readableDuration(const media::Time& duration) {
    if (media::isIndefinite(duration) || duration.scale <= 0)
        return QStringLiteral("indefinite");
    const bool negative = duration.value < 0;
    media::Time length = duration;
    length.value = negative ? -duration.value : duration.value;
    const QString sign = negative ? QStringLiteral("-") : QString();

    const media::Time inHundredths = media::convertScale(length, 100);
    if (media::isIndefinite(inHundredths))
        return QStringLiteral("indefinite");
    const std::int64_t hundredths = inHundredths.value;
    if (hundredths < 360'000) {
        const std::int64_t seconds = hundredths / 100;
        // Always a point: the text reads back as a typed duration in every locale.
        return sign + QString::number(seconds / 60) + u':' + twoDigits(seconds % 60) + u'.' +
               twoDigits(hundredths % 100);
    }
    const std::int64_t seconds = media::convertScale(length, 1).value;
    return sign + QString::number(seconds / 3600) + u':' + twoDigits(seconds / 60 % 60) + u':' +
           twoDigits(seconds % 60);
}

QString readableFileSize(std::int64_t bytes) {
    if (bytes < 1000 && bytes > -1000)
        return support::fillFormat(support::LocalizedString(bytes == 1 ? "%@ byte" : "%@ bytes"),
                                   {platform::formatNumberWithGrouping(bytes)});
    static constexpr std::array kUnits = {"kB", "MB", "GB", "TB", "PB", "EB"};
    double size = static_cast<double>(bytes) / 1000.0;
    std::size_t unit = 0;
    // 999,950 bytes would round to "1000.0 kB": it is written as "1.0 MB".
    while ((size >= 999.95 || size <= -999.95) && unit + 1 < kUnits.size()) {
        size /= 1000.0;
        ++unit;
    }
    return platform::formatDecimal(size, 1) + u' ' + QString::fromLatin1(kUnits[unit]);
}

QString dateText(const FileTime& date) {
    using namespace std::chrono;
    const auto seconds = floor<std::chrono::seconds>(date);
    const auto nanoseconds = duration_cast<std::chrono::nanoseconds>(date - seconds);
    return platform::formatDateTime(seconds.time_since_epoch().count(),
                                    static_cast<std::uint32_t>(nanoseconds.count()));
}

QString dateText(const WallClockTime& date) {
    return platform::formatWallClockDateTime(date.time_since_epoch().count());
}

} // namespace filelist
