#include "platform/PropertyList.h"

#include "platform/PropertyListDepth.h"

#include <QDateTime>
#include <QStringList>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <plist/plist.h>

namespace platform::detail {
namespace {

struct PlistDeleter final {
    void operator()(void* node) const { plist_free(static_cast<plist_t>(node)); }
};
using PlistOwner = std::unique_ptr<void, PlistDeleter>;

// Property-list dates count seconds from 2001-01-01 00:00:00 UTC.
const QDateTime& referenceDate() {
    static const QDateTime date(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC);
    return date;
}

// libplist writes -0.0 as "0": every zero is kept as +0.0, so that what is
// stored reads back the same.
double unsignedZero(double number) {
    return number == 0.0 ? 0.0 : number;
}

bool holdsNul(const QString& text) {
    return text.contains(QChar(u'\0'));
}

std::optional<QVariant> propertyListValueAtDepth(const QVariant& value, int depth) {
    if (depth > kMaxPropertyListDepth) {
        return std::nullopt;
    }
    switch (value.metaType().id()) {
    case QMetaType::Bool:
        return QVariant(value.toBool());
    case QMetaType::Int:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::SChar:
    case QMetaType::UInt:
    case QMetaType::UShort:
    case QMetaType::UChar:
        return QVariant(value.toLongLong());
    case QMetaType::ULong:
    case QMetaType::ULongLong: {
        const qulonglong number = value.toULongLong();
        if (number > static_cast<qulonglong>(std::numeric_limits<qint64>::max())) {
            return std::nullopt;
        }
        return QVariant(static_cast<qint64>(number));
    }
    case QMetaType::Double:
    case QMetaType::Float:
        return QVariant(unsignedZero(value.toDouble()));
    case QMetaType::QString: {
        QString text = value.toString();
        if (holdsNul(text)) {
            return std::nullopt;
        }
        return QVariant(text);
    }
    case QMetaType::QByteArray:
        return QVariant(value.toByteArray());
    case QMetaType::QDateTime: {
        const QDateTime date = value.toDateTime();
        if (!date.isValid()) {
            return std::nullopt;
        }
        const qint64 milliseconds = referenceDate().msecsTo(date);
        const qint64 seconds = milliseconds / 1000 - (milliseconds % 1000 < 0 ? 1 : 0);
        if (seconds < std::numeric_limits<std::int32_t>::min() ||
            seconds > std::numeric_limits<std::int32_t>::max()) {
            return std::nullopt;
        }
        return QVariant(referenceDate().addSecs(seconds));
    }
    case QMetaType::QStringList:
    case QMetaType::QVariantList: {
        QVariantList list;
        for (const QVariant& element : value.toList()) {
            std::optional<QVariant> converted = propertyListValueAtDepth(element, depth + 1);
            if (!converted) {
                return std::nullopt;
            }
            list.append(std::move(*converted));
        }
        return QVariant(list);
    }
    case QMetaType::QVariantMap:
    case QMetaType::QVariantHash: {
        QVariantMap map;
        const QVariantMap source = value.toMap();
        for (auto entry = source.cbegin(); entry != source.cend(); ++entry) {
            std::optional<QVariant> converted = propertyListValueAtDepth(entry.value(), depth + 1);
            if (!converted || holdsNul(entry.key())) {
                return std::nullopt;
            }
            map.insert(entry.key(), std::move(*converted));
        }
        return QVariant(map);
    }
    default:
        return std::nullopt;
    }
}

// Text of a libplist string or key node; libplist hands out malloc'd copies.
QString takeText(char* text) {
    QString result = QString::fromUtf8(text ? text : "");
    std::free(text);
    return result;
}

// Converts a node read from a file; none for a node too deep to convert, a
// UID (dropped by the caller) answers an invalid QVariant.
std::optional<QVariant> variantFromNode(plist_t node, int depth) {
    if (depth > kMaxPropertyListDepth) {
        return std::nullopt;
    }
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
        std::uint8_t flag = 0;
        plist_get_bool_val(node, &flag);
        return QVariant(flag != 0);
    }
    case PLIST_UINT: {
        std::uint64_t number = 0;
        plist_get_uint_val(node, &number);
        return QVariant(static_cast<qint64>(number));
    }
    case PLIST_REAL: {
        double number = 0;
        plist_get_real_val(node, &number);
        return QVariant(unsignedZero(number));
    }
    case PLIST_STRING: {
        std::uint64_t length = 0;
        const char* text = plist_get_string_ptr(node, &length);
        return QVariant(QString::fromUtf8(text, text ? static_cast<qsizetype>(length) : 0));
    }
    case PLIST_DATA: {
        char* bytes = nullptr;
        std::uint64_t length = 0;
        plist_get_data_val(node, &bytes, &length);
        QByteArray data(bytes, static_cast<qsizetype>(bytes ? length : 0));
        std::free(bytes);
        return QVariant(data);
    }
    case PLIST_DATE: {
        std::int32_t seconds = 0;
        std::int32_t microseconds = 0;
        plist_get_date_val(node, &seconds, &microseconds);
        (void)microseconds; // XML property lists keep whole seconds only
        return QVariant(referenceDate().addSecs(seconds));
    }
    case PLIST_ARRAY: {
        QVariantList list;
        const std::uint32_t count = plist_array_get_size(node);
        for (std::uint32_t index = 0; index < count; ++index) {
            std::optional<QVariant> element = variantFromNode(plist_array_get_item(node, index), depth + 1);
            if (!element) {
                return std::nullopt;
            }
            if (element->isValid()) {
                list.append(std::move(*element));
            }
        }
        return QVariant(list);
    }
    case PLIST_DICT: {
        QVariantMap map;
        plist_dict_iter iterator = nullptr;
        plist_dict_new_iter(node, &iterator);
        for (;;) {
            char* key = nullptr;
            plist_t item = nullptr;
            plist_dict_next_item(node, iterator, &key, &item);
            if (!item) {
                std::free(key);
                break;
            }
            const QString name = takeText(key);
            std::optional<QVariant> element = variantFromNode(item, depth + 1);
            if (!element) {
                std::free(iterator);
                return std::nullopt;
            }
            if (element->isValid()) {
                map.insert(name, std::move(*element));
            }
        }
        std::free(iterator);
        return QVariant(map);
    }
    default: // UIDs; keys never stand alone
        return QVariant();
    }
}

// Whether a text in the tree holds U+0000 (a binary list's UTF-16 text may,
// and so may raw bytes in an XML one). libplist keeps the length of such a
// text apart from its C string, and its getters assert that the two agree,
// aborting the program. Its XML writer copies texts by their length, so the
// NUL shows in the XML of the tree: looking there finds every such text,
// keys included, before any getter meets it.
bool holdsTextWithNul(plist_t root) {
    char* xml = nullptr;
    std::uint32_t length = 0;
    plist_to_xml(root, &xml, &length);
    if (!xml) {
        return true;
    }
    const bool found = std::memchr(xml, 0, length) != nullptr;
    plist_to_xml_free(xml);
    return found;
}

plist_t nodeFromVariant(const QVariant& value, int depth);

plist_t nodeFromMap(const QVariantMap& map, int depth) {
    PlistOwner dictionary(plist_new_dict());
    for (auto entry = map.cbegin(); entry != map.cend(); ++entry) {
        plist_t item = nodeFromVariant(entry.value(), depth + 1);
        if (!item || holdsNul(entry.key())) {
            plist_free(item);
            return nullptr;
        }
        plist_dict_set_item(dictionary.get(), entry.key().toUtf8().constData(), item);
    }
    return dictionary.release();
}

plist_t nodeFromVariant(const QVariant& value, int depth) {
    if (depth > kMaxPropertyListDepth) {
        return nullptr;
    }
    switch (value.metaType().id()) {
    case QMetaType::Bool:
        return plist_new_bool(value.toBool() ? 1 : 0);
    case QMetaType::LongLong:
        return plist_new_uint(static_cast<std::uint64_t>(value.toLongLong()));
    case QMetaType::Double:
        return plist_new_real(value.toDouble());
    case QMetaType::QString: {
        const QString text = value.toString();
        return holdsNul(text) ? nullptr : plist_new_string(text.toUtf8().constData());
    }
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        return plist_new_data(bytes.constData(), static_cast<std::uint64_t>(bytes.size()));
    }
    case QMetaType::QDateTime: {
        // Whole seconds: propertyListValue has already dropped the rest.
        return plist_new_date(static_cast<std::int32_t>(referenceDate().secsTo(value.toDateTime())), 0);
    }
    case QMetaType::QVariantList: {
        PlistOwner array(plist_new_array());
        for (const QVariant& element : value.toList()) {
            plist_t item = nodeFromVariant(element, depth + 1);
            if (!item) {
                return nullptr;
            }
            plist_array_append_item(array.get(), item);
        }
        return array.release();
    }
    case QMetaType::QVariantMap:
        return nodeFromMap(value.toMap(), depth);
    default:
        return nullptr;
    }
}

} // namespace

std::optional<QVariant> propertyListValue(const QVariant& value) {
    return propertyListValueAtDepth(value, 0);
}

bool samePropertyListValue(const QVariant& a, const QVariant& b) {
    if (a.metaType() != b.metaType()) {
        return false;
    }
    switch (a.metaType().id()) {
    case QMetaType::QVariantList: {
        const QVariantList left = a.toList();
        const QVariantList right = b.toList();
        if (left.size() != right.size()) {
            return false;
        }
        for (qsizetype index = 0; index < left.size(); ++index) {
            if (!samePropertyListValue(left[index], right[index])) {
                return false;
            }
        }
        return true;
    }
    case QMetaType::QVariantMap: {
        const QVariantMap left = a.toMap();
        const QVariantMap right = b.toMap();
        if (left.size() != right.size()) {
            return false;
        }
        for (auto entry = left.cbegin(); entry != left.cend(); ++entry) {
            const auto other = right.constFind(entry.key());
            if (other == right.cend() || !samePropertyListValue(entry.value(), other.value())) {
                return false;
            }
        }
        return true;
    }
    case QMetaType::Double: {
        // Bitwise, so that NaN equals itself and 0.0 differs from -0.0.
        const double left = a.toDouble();
        const double right = b.toDouble();
        return std::memcmp(&left, &right, sizeof left) == 0;
    }
    default:
        return a == b;
    }
}

std::optional<QVariantMap> readPropertyListDictionary(const QByteArray& bytes) {
    if (bytes.isEmpty() || bytes.size() > std::numeric_limits<std::uint32_t>::max()) {
        return std::nullopt;
    }
    // libplist parses nesting by recursion: too deep a file never reaches it.
    if (!nestsWithinLimit(bytes)) {
        return std::nullopt;
    }
    plist_t root = nullptr;
    plist_from_memory(bytes.constData(), static_cast<std::uint32_t>(bytes.size()), &root);
    const PlistOwner owner(root);
    if (!root || plist_get_node_type(root) != PLIST_DICT || holdsTextWithNul(root)) {
        return std::nullopt;
    }
    std::optional<QVariant> dictionary = variantFromNode(root, 0);
    if (!dictionary) {
        return std::nullopt;
    }
    return dictionary->toMap();
}

std::optional<QByteArray> writePropertyListXml(const QVariantMap& dictionary) {
    const PlistOwner root(nodeFromMap(dictionary, 0));
    if (!root) {
        return std::nullopt;
    }
    char* xml = nullptr;
    std::uint32_t length = 0;
    plist_to_xml(root.get(), &xml, &length);
    if (!xml) {
        return std::nullopt;
    }
    QByteArray text(xml, static_cast<qsizetype>(length));
    plist_to_xml_free(xml);
    return text;
}

} // namespace platform::detail
