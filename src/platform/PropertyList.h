#pragma once

// Conversion between property lists (libplist) and Qt values, for the
// preferences store. Private to src/platform.
//
// Property-list values as QVariant:
//   boolean    bool
//   integer    qint64 (libplist 2.2 keeps 64 bits and no sign: values written
//              by others above INT64_MAX read back as their two's complement)
//   real       double (a whole real stays a double, e.g. 1.0)
//   string     QString
//   data       QByteArray
//   date       QDateTime (UTC)
//   array      QVariantList
//   dictionary QVariantMap
// UIDs (keyed-archiver references) have no counterpart and are dropped on reading.

#include <QByteArray>
#include <QVariant>
#include <QVariantMap>
#include <optional>

namespace platform::detail {

// Deeper nesting is refused on reading and writing: it is never a real
// preferences file and would only cost stack.
inline constexpr int kMaxPropertyListDepth = 128;

// value in the form the store keeps: integers of every width as qint64,
// floats as double, string lists as QVariantList, nested values converted
// likewise. None when value (or anything inside it) has no property-list
// counterpart: an unsigned integer above INT64_MAX, a text or key holding
// U+0000 (libplist keeps texts as C strings), an invalid QVariant, any other type.
[[nodiscard]] std::optional<QVariant> propertyListValue(const QVariant& value);

// Whether two values in propertyListValue form are the same: same types all
// the way down (1 and 1.0 differ, unlike QVariant's operator==).
bool samePropertyListValue(const QVariant& a, const QVariant& b);

// The dictionary at the root of an XML or binary property list; none when the
// bytes are not a property list or its root is not a dictionary.
[[nodiscard]] std::optional<QVariantMap> readPropertyListDictionary(const QByteArray& bytes);

// An XML property list of a dictionary whose values are in propertyListValue
// form; none when a value is not.
[[nodiscard]] std::optional<QByteArray> writePropertyListXml(const QVariantMap& dictionary);

} // namespace platform::detail
