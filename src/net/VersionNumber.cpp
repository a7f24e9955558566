#include "net/VersionNumber.h"

#include <QByteArray>
#include <algorithm>
#include <limits>

namespace net {

namespace {

// Version texts are short; the rest of a longer one is not read.
constexpr qsizetype kLongestVersionText = 254;

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

} // namespace

std::int32_t versionNumber(const QString& text) {
    QByteArray bytes = text.toLatin1().left(kLongestVersionText);
    bytes.replace('.', QByteArray());
    qsizetype at = 0;
    while (at < bytes.size() && isBlank(bytes[at]))
        ++at;
    bool negative = false;
    if (at < bytes.size() && (bytes[at] == '+' || bytes[at] == '-'))
        negative = bytes[at++] == '-';
    // Past 2^31 more digits cannot bring the number back: it stays held at the end of the range.
    constexpr std::int64_t kBeyond = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t number = 0;
    for (; at < bytes.size() && bytes[at] >= '0' && bytes[at] <= '9'; ++at)
        number = std::min(number * 10 + (bytes[at] - '0'), kBeyond);
    if (negative)
        number = -number;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(number, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

} // namespace net
