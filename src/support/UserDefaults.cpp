#include "support/UserDefaults.h"

#include "platform/Preferences.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <cerrno>
#include <cmath>
#include <limits>

namespace support {

namespace {

bool isNumber(const QVariant& value) {
    const int type = value.typeId();
    return type == QMetaType::LongLong || type == QMetaType::Int || type == QMetaType::Double;
}

} // namespace

bool UserDefaults::isPresent(Pref pref) const {
    return m_overrides.contains(pref) || m_store.contains(preferenceName(pref));
}

QVariant UserDefaults::value(Pref pref) const {
    if (const auto found = m_overrides.find(pref); found != m_overrides.end())
        return found->second;
    return m_store.value(preferenceName(pref));
}

void UserDefaults::setOverride(Pref pref, const QVariant& value) {
    m_overrides[pref] = value;
}

bool UserDefaults::boolValue(Pref pref) const {
    const QVariant stored = value(pref);
    if (stored.typeId() == QMetaType::Bool)
        return stored.toBool();
    if (isNumber(stored))
        return stored.toDouble() != 0;
    return preferenceKey(pref).defaultValue.toBool();
}

qint64 UserDefaults::integerValue(Pref pref) const {
    const QVariant stored = value(pref);
    if (stored.typeId() == QMetaType::Double) {
        // Numbers beyond the 64-bit range (a "DesiredDuration" of 1e30) stand at its ends.
        constexpr double kTwoTo63 = 9223372036854775808.0;
        const double number = stored.toDouble();
        if (!std::isfinite(number))
            return 0;
        if (number >= kTwoTo63)
            return std::numeric_limits<qint64>::max();
        if (number < -kTwoTo63)
            return std::numeric_limits<qint64>::min();
        return static_cast<qint64>(std::trunc(number));
    }
    if (isNumber(stored))
        return stored.toLongLong();
    return preferenceKey(pref).defaultValue.toLongLong();
}

double UserDefaults::floatValue(Pref pref) const {
    const QVariant stored = value(pref);
    return isNumber(stored) ? stored.toDouble() : preferenceKey(pref).defaultValue.toDouble();
}

QString UserDefaults::textValue(Pref pref) const {
    const QVariant stored = value(pref);
    return stored.typeId() == QMetaType::QString ? stored.toString() : QString();
}

void UserDefaults::setValue(Pref pref, const QVariant& value) {
    // Refused only for a value without a property-list form, which keeps the
    // old one; callers pass values of the table's types, which all have one.
    (void)m_store.setValue(preferenceName(pref), value);
}

void UserDefaults::remove(Pref pref) {
    m_store.remove(preferenceName(pref));
}

bool UserDefaults::synchronize() {
    return m_store.synchronize();
}

std::expected<QVariant, media::Error> preferenceValueFromText(Pref pref, const QString& text) {
    const PreferenceKey& key = preferenceKey(pref);
    const QString wanted = QString::fromLatin1(preferenceTypeName(key.type));
    const auto refuse = [&] {
        return std::unexpected(media::Error{
            EINVAL, QString("%1 takes a %2 value, not \"%3\"").arg(key.name, wanted, text).toStdString()});
    };
    const QString trimmed = text.trimmed();
    bool ok = false;
    switch (key.type) {
    case PreferenceType::Boolean: {
        const QString lower = trimmed.toLower();
        if (lower == "true" || lower == "yes" || lower == "1")
            return QVariant(true);
        if (lower == "false" || lower == "no" || lower == "0")
            return QVariant(false);
        return refuse();
    }
    case PreferenceType::Integer: {
        const qint64 number = trimmed.toLongLong(&ok);
        return ok ? std::expected<QVariant, media::Error>(QVariant(number)) : refuse();
    }
    case PreferenceType::Float: {
        const double number = trimmed.toDouble(&ok);
        return ok && std::isfinite(number) ? std::expected<QVariant, media::Error>(QVariant(number))
                                           : refuse();
    }
    case PreferenceType::Number: {
        const qint64 integer = trimmed.toLongLong(&ok);
        if (ok)
            return QVariant(integer);
        const double number = trimmed.toDouble(&ok);
        return ok && std::isfinite(number) ? std::expected<QVariant, media::Error>(QVariant(number))
                                           : refuse();
    }
    case PreferenceType::Text:
        return QVariant(text);
    case PreferenceType::Data: {
        const QByteArray hex = trimmed.toLatin1();
        const QByteArray bytes = QByteArray::fromHex(hex);
        if (hex.size() % 2 != 0 || bytes.toHex() != hex.toLower())
            return refuse();
        return QVariant(bytes);
    }
    case PreferenceType::Array:
    case PreferenceType::Dictionary: {
        const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8());
        if (key.type == PreferenceType::Array && document.isArray())
            return QVariant(document.array().toVariantList());
        if (key.type == PreferenceType::Dictionary && document.isObject())
            return QVariant(document.object().toVariantMap());
        return refuse();
    }
    }
    return refuse();
}

namespace {

// A text as a JSON string literal.
QString quoted(const QString& text) {
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1, array.size() - 2));
}

// An element of an array or dictionary: texts quoted, byte blocks as <hex>.
QString elementText(const QVariant& value) {
    if (value.typeId() == QMetaType::QString)
        return quoted(value.toString());
    if (value.typeId() == QMetaType::QByteArray)
        return "<" + preferenceValueText(value) + ">";
    return preferenceValueText(value);
}

} // namespace

QString preferenceValueText(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? "true" : "false";
    case QMetaType::QByteArray:
        return QString::fromLatin1(value.toByteArray().toHex());
    case QMetaType::QVariantList: {
        QStringList items;
        for (const QVariant& item : value.toList())
            items << elementText(item);
        return "[" + items.join(",") + "]";
    }
    case QMetaType::QVariantMap: {
        QStringList items;
        const QVariantMap map = value.toMap();
        for (auto entry = map.begin(); entry != map.end(); ++entry)
            items << quoted(entry.key()) + ":" + elementText(entry.value());
        return "{" + items.join(",") + "}";
    }
    default:
        return value.toString();
    }
}

} // namespace support
