#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace media {

// A media time: value units of 1/scale second each. A scale of 0 only ever
// appears with the value 0 (the zero time of no particular scale).
//
// Rules every operation below follows:
// - A time that is not indefinite and whose scale is 0 or negative has no
//   scale: it denotes the zero instant, whatever its value. makeTime never
//   makes one with a value other than 0.
// - An indefinite time (flags has Indefinite) is later than every finite
//   time and equal to every other indefinite time; its value and scale carry
//   no meaning. Arithmetic on it, and arithmetic whose result does not fit in
//   64 bits, answers indefiniteTime().
struct Time final {
    enum Flags : std::uint32_t { None = 0, Indefinite = 1 };

    std::int64_t value = 0;
    std::int32_t scale = 0;
    std::uint32_t flags = None;

    friend bool operator==(const Time&, const Time&) = default; // same fields, not same instant
};

struct TimeRange final {
    Time start;
    Time duration;
};

// value/scale seconds; a scale of 0 or less answers zeroTime().
Time makeTime(std::int64_t value, std::int32_t scale);
constexpr Time zeroTime() {
    return Time{};
}
constexpr Time indefiniteTime() {
    return Time{0, 0, Time::Indefinite};
}
constexpr bool isIndefinite(const Time& t) {
    return (t.flags & Time::Indefinite) != 0;
}
TimeRange makeTimeRange(Time start, Time duration);

// Orders the instants two times denote, whatever their scales: -1, 0 or 1.
// Exact for every value and scale (128-bit cross-multiplication).
int compareTimes(const Time& a, const Time& b);
// The sum of two times of any scales. The answer's scale: the common scale
// when both share one; else the least common multiple of the two scales when
// it fits in 32 bits and the exact sum fits in 64; else the larger scale, the
// exact sum rounded once to the nearest unit (half away from zero). A time
// without a scale (the zero time a running total starts from) adds nothing:
// the other time comes back unchanged. A sum beyond 64 bits is indefinite.
Time addTimes(const Time& a, const Time& b);
// a - b, with the same scale rule as addTimes.
Time subtractTimes(const Time& a, const Time& b);
// The same instant in another scale, rounded to the nearest unit (half away
// from zero). A target scale of 0 or less names no scale: t comes back
// unchanged. An indefinite t, or a result beyond 64 bits, is indefinite.
Time convertScale(const Time& t, std::int32_t scale);
// Seconds as a double, for display and estimates only: never for arithmetic.
// Indefinite is +infinity.
double seconds(const Time& t);

// Text form of a time, written by timeToString and read by parseTime:
//
//   [-]D:HH:MM:SS.U/SCALE     days, hours (00-23), minutes and seconds
//                             (00-59), then U, the units of 1/SCALE second
//                             left over (0 <= U < SCALE), then the scale.
//                             90.5 s at scale 600 is "0:00:01:30.300/600".
//   indefinite                an indefinite time.
//
// parseTime reads that form back to the very same value and scale, for every
// value and every scale from 1 to INT32_MAX. A time without a scale is
// written as the zero of scale 1 ("0:00:00:00.0/1"), since text never names
// a scale of 0.
//
// parseTime also accepts what a person types into a duration or time field:
//
//   90          seconds                       scale 1
//   90.5        seconds and a decimal fraction scale 10^digits (1 to 9 digits)
//   1:30        M:SS                          scale 1 (or 10^digits with ".5")
//   1:02:03     H:MM:SS                       hours of any size
//   1:00:02:03  D:HH:MM:SS                    hours 00-23
//
// and each colon form may end in ".U/SCALE" as the written form does.
// Fields after the first have exactly two digits and minutes and seconds are
// below 60. A leading "-" makes the time negative. Blanks before and after
// are allowed, none inside; "indefinite" is read in any letter case.
// Everything else answers std::nullopt: empty text, letters, "1:", ":30",
// "1::2", ".5", "90.", "90/600" (a scale needs the ".U" before it), "1:5"
// (one digit after a colon), more than four fields, more than 9 fraction digits
// without a scale, a scale of 0, a negative scale, units not below the scale,
// a sign anywhere but in front, and any time whose value does not fit in 64
// bits.
std::string timeToString(const Time& t);
[[nodiscard]] std::optional<Time> parseTime(std::string_view text);

} // namespace media
