#include "media/Time.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <numeric>

namespace media {

namespace {

// Every product of a 64-bit value and a 32-bit scale fits in 95 bits, so
// 128-bit intermediates make all comparisons and conversions exact.
__extension__ typedef __int128 Int128;
__extension__ typedef unsigned __int128 UInt128;

constexpr Int128 kInt64Min = std::numeric_limits<std::int64_t>::min();
constexpr Int128 kInt64Max = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();

bool hasScale(const Time& t) {
    return !isIndefinite(t) && t.scale > 0;
}

// The value and scale an instant is compared and added with: no scale is 0/1.
Int128 effectiveValue(const Time& t) {
    return hasScale(t) ? t.value : 0;
}
Int128 effectiveScale(const Time& t) {
    return hasScale(t) ? t.scale : 1;
}

// n / d rounded to the nearest integer, halves away from zero; d > 0.
Int128 divideRounded(Int128 n, Int128 d) {
    Int128 quotient = n / d;
    const Int128 remainder = n % d;
    const Int128 magnitude = remainder < 0 ? -remainder : remainder;
    if (2 * magnitude >= d) {
        quotient += n < 0 ? -1 : 1;
    }
    return quotient;
}

Time timeOrIndefinite(Int128 value, std::int32_t scale) {
    if (value < kInt64Min || value > kInt64Max) {
        return indefiniteTime();
    }
    return Time{static_cast<std::int64_t>(value), scale, Time::None};
}

// a + sign * b, sign being 1 or -1, by the scale rule described in Time.h.
Time combine(const Time& a, const Time& b, int sign) {
    if (isIndefinite(a) || isIndefinite(b)) {
        return indefiniteTime();
    }
    if (!hasScale(b)) {
        return hasScale(a) ? a : zeroTime();
    }
    if (!hasScale(a)) {
        return sign > 0 ? b : timeOrIndefinite(-Int128{b.value}, b.scale);
    }
    if (a.scale == b.scale) {
        return timeOrIndefinite(Int128{a.value} + sign * Int128{b.value}, a.scale);
    }

    const std::int64_t divisor = std::gcd(std::int64_t{a.scale}, std::int64_t{b.scale});
    const std::int64_t lcm = std::int64_t{a.scale} / divisor * b.scale;
    if (lcm <= kInt32Max) {
        const Int128 sum = Int128{a.value} * (lcm / a.scale) + sign * Int128{b.value} * (lcm / b.scale);
        if (sum >= kInt64Min && sum <= kInt64Max) {
            return Time{static_cast<std::int64_t>(sum), static_cast<std::int32_t>(lcm), Time::None};
        }
    }

    // The exact sum is numerator / (a.scale * b.scale) seconds; it is rounded
    // once into the larger scale. |numerator| < 2^95, times a scale < 2^126.
    const std::int32_t larger = std::max(a.scale, b.scale);
    const Int128 numerator = Int128{a.value} * b.scale + sign * Int128{b.value} * a.scale;
    const Int128 denominator = Int128{a.scale} * b.scale;
    return timeOrIndefinite(divideRounded(numerator * larger, denominator), larger);
}

void appendNumber(std::string& out, std::uint64_t number, int minimumDigits = 1) {
    std::array<char, 24> digits{};
    const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), number);
    const auto length = static_cast<int>(result.ptr - digits.data());
    out.append(static_cast<std::size_t>(std::max(0, minimumDigits - length)), '0');
    out.append(digits.data(), result.ptr);
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool equalsIgnoringCase(std::string_view text, std::string_view lowercase) {
    return std::equal(text.begin(), text.end(), lowercase.begin(), lowercase.end(), [](char c, char l) {
        return (c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) == l;
    });
}

// Reads a run of decimal digits. Any number above 2^64 can only lead to a
// time beyond 64 bits, so it stops there and answers nothing.
class DigitReader final {
public:
    explicit DigitReader(std::string_view text) : m_text(text) {}

    struct Number final {
        UInt128 value = 0;
        std::size_t digits = 0;
    };

    std::optional<Number> read() {
        constexpr UInt128 kCap = UInt128{1} << 64;
        Number number;
        while (m_position < m_text.size() && isDigit(m_text[m_position])) {
            number.value = number.value * 10 + static_cast<unsigned>(m_text[m_position] - '0');
            if (number.value > kCap) {
                return std::nullopt;
            }
            ++m_position;
            ++number.digits;
        }
        if (number.digits == 0) {
            return std::nullopt;
        }
        return number;
    }

    bool skip(char c) {
        if (m_position < m_text.size() && m_text[m_position] == c) {
            ++m_position;
            return true;
        }
        return false;
    }

    bool atEnd() const { return m_position == m_text.size(); }

private:
    std::string_view m_text;
    std::size_t m_position = 0;
};

constexpr std::size_t kMaxFields = 4;
constexpr std::size_t kMaxDecimalDigits = 9; // 10^9 is the largest power of ten below 2^31

} // namespace

Time makeTime(std::int64_t value, std::int32_t scale) {
    if (scale <= 0) {
        return zeroTime();
    }
    return Time{value, scale, Time::None};
}

TimeRange makeTimeRange(Time start, Time duration) {
    return TimeRange{start, duration};
}

int compareTimes(const Time& a, const Time& b) {
    const bool aIndefinite = isIndefinite(a);
    const bool bIndefinite = isIndefinite(b);
    if (aIndefinite || bIndefinite) {
        return aIndefinite == bIndefinite ? 0 : (aIndefinite ? 1 : -1);
    }
    const Int128 left = effectiveValue(a) * effectiveScale(b);
    const Int128 right = effectiveValue(b) * effectiveScale(a);
    return left < right ? -1 : (left > right ? 1 : 0);
}

Time addTimes(const Time& a, const Time& b) {
    return combine(a, b, 1);
}

Time subtractTimes(const Time& a, const Time& b) {
    return combine(a, b, -1);
}

Time convertScale(const Time& t, std::int32_t scale) {
    if (isIndefinite(t)) {
        return indefiniteTime();
    }
    if (scale <= 0 || t.scale == scale) {
        return t;
    }
    if (!hasScale(t)) {
        return Time{0, scale, Time::None};
    }
    return timeOrIndefinite(divideRounded(Int128{t.value} * scale, t.scale), scale);
}

double seconds(const Time& t) {
    if (isIndefinite(t)) {
        return std::numeric_limits<double>::infinity();
    }
    if (!hasScale(t)) {
        return 0.0;
    }
    // Whole seconds and the remainder apart keep large values precise.
    const std::int64_t whole = t.value / t.scale;
    const std::int64_t remainder = t.value % t.scale;
    return static_cast<double>(whole) + static_cast<double>(remainder) / static_cast<double>(t.scale);
}

std::string timeToString(const Time& t) {
    if (isIndefinite(t)) {
        return "indefinite";
    }
    const Time written = hasScale(t) ? t : Time{0, 1, Time::None};
    const bool negative = written.value < 0;
    // The magnitude of INT64_MIN only fits unsigned.
    const std::uint64_t magnitude =
        negative ? 0 - static_cast<std::uint64_t>(written.value) : static_cast<std::uint64_t>(written.value);
    const auto scale = static_cast<std::uint64_t>(written.scale);
    const std::uint64_t wholeSeconds = magnitude / scale;

    std::string text;
    if (negative) {
        text += '-';
    }
    appendNumber(text, wholeSeconds / 86400);
    text += ':';
    appendNumber(text, wholeSeconds / 3600 % 24, 2);
    text += ':';
    appendNumber(text, wholeSeconds / 60 % 60, 2);
    text += ':';
    appendNumber(text, wholeSeconds % 60, 2);
    text += '.';
    appendNumber(text, magnitude % scale);
    text += '/';
    appendNumber(text, scale);
    return text;
}

std::optional<Time> parseTime(std::string_view text) {
    text = trimmed(text);
    if (equalsIgnoringCase(text, "indefinite")) {
        return indefiniteTime();
    }
    const bool negative = !text.empty() && text.front() == '-';
    if (negative) {
        text.remove_prefix(1);
    }

    DigitReader reader(text);
    std::array<UInt128, kMaxFields> fields{};
    std::size_t fieldCount = 0;
    do {
        const auto field = reader.read();
        if (!field || fieldCount == kMaxFields || (fieldCount > 0 && field->digits != 2)) {
            return std::nullopt;
        }
        fields[fieldCount++] = field->value;
    } while (reader.skip(':'));

    UInt128 units = 0;
    UInt128 scale = 1;
    if (reader.skip('.')) {
        const auto fraction = reader.read();
        if (!fraction) {
            return std::nullopt;
        }
        units = fraction->value;
        if (reader.skip('/')) {
            const auto writtenScale = reader.read();
            if (!writtenScale || writtenScale->value == 0 || writtenScale->value > kInt32Max ||
                units >= writtenScale->value) {
                return std::nullopt;
            }
            scale = writtenScale->value;
        } else {
            if (fraction->digits > kMaxDecimalDigits) {
                return std::nullopt;
            }
            for (std::size_t i = 0; i < fraction->digits; ++i) {
                scale *= 10;
            }
        }
    }
    if (!reader.atEnd()) {
        return std::nullopt;
    }

    // Fields from the right: seconds, minutes, hours, days.
    UInt128 parts[kMaxFields] = {};
    std::copy_n(fields.begin(), fieldCount, parts + (kMaxFields - fieldCount));
    const UInt128 days = parts[0], hours = parts[1], minutes = parts[2], secs = parts[3];
    // The leading field may be of any size; the ones after it are bounded.
    if ((fieldCount >= 2 && secs >= 60) || (fieldCount >= 3 && minutes >= 60) ||
        (fieldCount == 4 && hours >= 24)) {
        return std::nullopt;
    }

    // Each field is at most 2^64, so the total stays below 2^113.
    const UInt128 totalSeconds = ((days * 24 + hours) * 60 + minutes) * 60 + secs;
    const UInt128 magnitude = totalSeconds * scale + units;
    const UInt128 limit = negative ? UInt128{1} << 63 : (UInt128{1} << 63) - 1;
    if (magnitude > limit) {
        return std::nullopt;
    }
    const Int128 value = negative ? -static_cast<Int128>(magnitude) : static_cast<Int128>(magnitude);
    return Time{static_cast<std::int64_t>(value), static_cast<std::int32_t>(scale), Time::None};
}

} // namespace media
