#include "support/StringExtensions.h"

#include "media/Time.h"

namespace support {

QString cleanForFilename(const QString& text) {
    QString cleaned = text;
    cleaned.replace(QLatin1Char('/'), QLatin1Char('-'));
    cleaned.replace(QLatin1Char(':'), QLatin1Char('-'));
    // Locales put narrow and no-break spaces in times ("6:03\u202FPM"): a file
    // name gets plain ones, which every program and shell handles.
    for (QChar& character : cleaned)
        if (character.isSpace())
            character = QLatin1Char(' ');
    return cleaned;
}

int compareAsTime(const QString& a, const QString& b) {
    const auto timeA = media::parseTime(a.toStdString());
    const auto timeB = media::parseTime(b.toStdString());
    if (timeA && timeB) {
        return media::compareTimes(*timeA, *timeB);
    }
    if (timeA || timeB) {
        return timeA ? 1 : -1;
    }
    const int byText = a.compare(b);
    return (byText > 0) - (byText < 0);
}

} // namespace support
