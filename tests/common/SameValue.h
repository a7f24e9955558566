#pragma once

#include <QVariant>
#include <QVariantList>
#include <QVariantMap>
#include <cmath>

namespace testing_support {

// Same type and value all the way down: QVariant's == takes 1 and 1.0 (and
// 0.0 and -0.0) as equal, where a preferences file keeps them apart. NaN is
// the same as NaN.
inline bool sameValue(const QVariant& a, const QVariant& b) {
    if (a.metaType() != b.metaType())
        return false;
    switch (a.metaType().id()) {
    case QMetaType::QVariantList: {
        const QVariantList left = a.toList();
        const QVariantList right = b.toList();
        if (left.size() != right.size())
            return false;
        for (qsizetype index = 0; index < left.size(); ++index) {
            if (!sameValue(left[index], right[index]))
                return false;
        }
        return true;
    }
    case QMetaType::QVariantMap: {
        const QVariantMap left = a.toMap();
        const QVariantMap right = b.toMap();
        if (left.keys() != right.keys())
            return false;
        for (auto entry = left.cbegin(); entry != left.cend(); ++entry) {
            if (!sameValue(entry.value(), right.value(entry.key())))
                return false;
        }
        return true;
    }
    case QMetaType::Double: {
        const double left = a.toDouble();
        const double right = b.toDouble();
        return (std::isnan(left) && std::isnan(right)) ||
               (left == right && std::signbit(left) == std::signbit(right));
    }
    default:
        return a == b;
    }
}

} // namespace testing_support
