#include "net/DownloadFileName.h"

#include <QList>
#include <QStringDecoder>

namespace net {

namespace {

// Longest extension kept whole when a long name is cut.
constexpr qsizetype kLongestKeptExtension = 16;

// The parameters of a header value ("attachment; filename=x; size=3"), in
// order, with quoted strings unquoted; names lower-cased.
QList<std::pair<QByteArray, QByteArray>> headerParameters(const QByteArray& header) {
    QList<std::pair<QByteArray, QByteArray>> parameters;
    qsizetype at = header.indexOf(';');
    while (at >= 0 && at < header.size()) {
        ++at; // past ';'
        while (at < header.size() && (header[at] == ' ' || header[at] == '\t'))
            ++at;
        const qsizetype equals = header.indexOf('=', at);
        const qsizetype semicolon = header.indexOf(';', at);
        if (equals < 0 || (semicolon >= 0 && semicolon < equals)) {
            at = semicolon;
            continue;
        }
        const QByteArray name = header.mid(at, equals - at).trimmed().toLower();
        at = equals + 1;
        while (at < header.size() && (header[at] == ' ' || header[at] == '\t'))
            ++at;
        QByteArray value;
        if (at < header.size() && header[at] == '"') {
            for (++at; at < header.size() && header[at] != '"'; ++at) {
                if (header[at] == '\\' && at + 1 < header.size())
                    ++at;
                value.append(header[at]);
            }
            at = header.indexOf(';', at);
        } else {
            const qsizetype end = header.indexOf(';', at);
            value = header.mid(at, end < 0 ? -1 : end - at).trimmed();
            at = end;
        }
        parameters.append({name, value});
    }
    return parameters;
}

// Bytes a server sent as text: UTF-8 when they are valid UTF-8, else ISO-8859-1.
QString textOfBytes(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

// An RFC 5987 value: charset'language'percent-encoded bytes.
std::optional<QString> extendedValue(const QByteArray& value) {
    const qsizetype first = value.indexOf('\'');
    const qsizetype second = first < 0 ? -1 : value.indexOf('\'', first + 1);
    if (second < 0)
        return std::nullopt;
    const QByteArray charset = value.left(first).toLower();
    const QByteArray bytes = QByteArray::fromPercentEncoding(value.mid(second + 1));
    if (charset == "utf-8") {
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString text = utf8(bytes);
        return utf8.hasError() ? std::nullopt : std::optional<QString>(text);
    }
    if (charset == "iso-8859-1")
        return QString::fromLatin1(bytes);
    return std::nullopt;
}

// Characters a name must not hold: controls, and formatting that shows
// nothing (direction overrides can make "gpj.exe" read as "exe.jpg").
bool isUnwanted(QChar c) {
    const QChar::Category category = c.category();
    return category == QChar::Other_Control || category == QChar::Other_Format ||
           category == QChar::Other_NotAssigned || c == QChar::ReplacementCharacter;
}

// text cut at a character boundary so that its UTF-8 form is at most `bytes` bytes.
QString cutToBytes(const QString& text, qsizetype bytes) {
    QString cut;
    qsizetype used = 0;
    for (qsizetype at = 0; at < text.size();) {
        const qsizetype length = text[at].isHighSurrogate() && at + 1 < text.size() ? 2 : 1;
        const QString character = text.mid(at, length);
        const qsizetype size = character.toUtf8().size();
        if (used + size > bytes)
            break;
        cut += character;
        used += size;
        at += length;
    }
    return cut;
}

} // namespace

std::optional<QString> contentDispositionFileName(const QByteArray& header) {
    std::optional<QString> plain;
    for (const auto& [name, value] : headerParameters(header)) {
        if (name == "filename*") {
            if (auto extended = extendedValue(value))
                return extended;
        } else if (name == "filename" && !plain) {
            plain = textOfBytes(value);
        }
    }
    return plain;
}

QString safeDownloadName(const QString& suggested) {
    QString name = suggested;
    const qsizetype lastSeparator = std::max(name.lastIndexOf('/'), name.lastIndexOf('\\'));
    if (lastSeparator >= 0)
        name = name.mid(lastSeparator + 1);
    QString kept;
    for (QChar c : name)
        if (!isUnwanted(c))
            kept += c;
    name = kept.trimmed();
    // Leading dots would hide the file (and "." or ".." would name a folder).
    while (name.startsWith('.') || name.startsWith(' '))
        name.remove(0, 1);
    if (name.toUtf8().size() <= kLongestDownloadName)
        return name;
    const qsizetype dot = name.lastIndexOf('.');
    const QString extension = dot > 0 && name.size() - dot <= kLongestKeptExtension ? name.mid(dot) : QString();
    const QString stem = extension.isEmpty() ? name : name.left(dot);
    return cutToBytes(stem, kLongestDownloadName - extension.toUtf8().size()).trimmed() + extension;
}

QString downloadFileName(const QByteArray& contentDisposition, const QUrl& url) {
    if (const auto suggested = contentDispositionFileName(contentDisposition)) {
        if (QString name = safeDownloadName(*suggested); !name.isEmpty())
            return name;
    }
    if (QString name = safeDownloadName(url.fileName(QUrl::FullyDecoded)); !name.isEmpty())
        return name;
    if (QString name = safeDownloadName(url.host()); !name.isEmpty())
        return name;
    return QStringLiteral("download");
}

QString numberedFileName(const QString& name, int number) {
    if (number == 0)
        return name;
    const qsizetype dot = name.lastIndexOf('.');
    const QString suffix = QStringLiteral("-") + QString::number(number);
    return dot > 0 ? name.left(dot) + suffix + name.mid(dot) : name + suffix;
}

} // namespace net
