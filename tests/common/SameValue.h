#pragma once

#include <QVariant>
#include <QVariantList>
#include <QVariantMap>
#include <algorithm>
#include <cmath>

namespace testing_support {

// Same type and value all the way down: QVariant's == takes 1 and 1.0 (and
// 0.0 and -0.0) as equal, where a preferences file keeps them apart. NaN is
// the same as NaN.
inline bool sameValue(const QVariant& a, const QVariant& b) {
    if (a.metaType() != b.metaType())
        return false;
    switch (a.metaType().id()) {
    case QMetaType::QVariantList:
        return std::ranges::equal(a.toList(), b.toList(), sameValue);
    case QMetaType::QVariantMap: {
        const QVariantMap left = a.toMap(), right = b.toMap();
        return left.keys() == right.keys() && std::ranges::all_of(left.keys(), [&](const QString& key) {
                   return sameValue(left.value(key), right.value(key));
               });
    }
    case QMetaType::Double: {
        const double left = a.toDouble(), right = b.toDouble();
        return (std::isnan(left) && std::isnan(right)) ||
               (left == right && std::signbit(left) == std::signbit(right));
    }
    default:
        return a == b;
    }
}

} // namespace testing_support
