#include "support/FormatText.h"

#include "support/LocalizedString.h"

namespace support {

QString localizedText(const QString& text, const QStringList& arguments) {
    const QString shown = LocalizedString(text);
    return arguments.isEmpty() ? shown : fillFormat(shown, arguments);
}

QString fillFormat(const QString& format, const QStringList& arguments) {
    QString out;
    out.reserve(format.size() + 16 * arguments.size());
    qsizetype next = 0;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c != u'%' || i + 1 >= format.size()) {
            out += c;
            continue;
        }
        if (format[i + 1] == u'%') {
            out += u'%';
            ++i;
            continue;
        }
        // The placeholder's length: "@", "d", "ld", "lld" and the like.
        qsizetype length = 0;
        for (const char* placeholder : {"@", "d", "i", "u", "s", "ld", "lu", "lld", "llu"}) {
            const QLatin1String text(placeholder);
            if (format.mid(i + 1, text.size()) == text && text.size() > length)
                length = text.size();
        }
        if (length == 0 || next >= arguments.size()) {
            out += c;
            continue;
        }
        out += arguments[next++];
        i += length;
    }
    return out;
}

} // namespace support
