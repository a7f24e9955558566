#include "net/VersionFile.h"

#include "platform/PropertyListFile.h"

#include <QVariantMap>
#include <cmath>
#include <limits>

namespace net {

namespace {

// A number of the property list as a 32-bit integer: integers in range, and
// reals truncated toward zero when in range.
std::optional<std::int32_t> thirtyTwoBitNumber(const QVariant& value) {
    constexpr std::int64_t kLowest = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t kHighest = std::numeric_limits<std::int32_t>::max();
    if (value.typeId() == QMetaType::LongLong) {
        const qint64 number = value.toLongLong();
        if (number < kLowest || number > kHighest)
            return std::nullopt;
        return static_cast<std::int32_t>(number);
    }
    if (value.typeId() == QMetaType::Double) {
        const double number = std::trunc(value.toDouble());
        if (!std::isfinite(number) || number < static_cast<double>(kLowest) ||
            number > static_cast<double>(kHighest))
            return std::nullopt;
        return static_cast<std::int32_t>(number);
    }
    return std::nullopt;
}

} // namespace

std::optional<PublishedVersion> readVersionFile(const QByteArray& bytes) {
    const std::optional<QVariantMap> root = platform::readPropertyListBytes(bytes);
    if (!root)
        return std::nullopt;
    const QVariant product = root->value(QStringLiteral("JoinClip"));
    if (product.typeId() != QMetaType::QVariantMap)
        return std::nullopt;
    const QVariantMap entry = product.toMap();
    const std::optional<std::int32_t> number = thirtyTwoBitNumber(entry.value(QStringLiteral("CurrentVersion")));
    const QVariant text = entry.value(QStringLiteral("CurrentVersionString"));
    if (!number || text.typeId() != QMetaType::QString)
        return std::nullopt;
    return PublishedVersion{*number, text.toString()};
}

} // namespace net
