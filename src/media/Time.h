#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace media {

// A media time: value units of 1/scale second each. A scale of 0 only ever
// appears with the value 0 (the zero time of no particular scale).
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

Time makeTime(std::int64_t value, std::int32_t scale);
constexpr Time zeroTime() { return Time{}; }
TimeRange makeTimeRange(Time start, Time duration);

// Orders the instants two times denote, whatever their scales: -1, 0 or 1.
int compareTimes(const Time& a, const Time& b);
// The sum of two times of any scales (see Time.cpp for the scale it answers in).
Time addTimes(const Time& a, const Time& b);
// a - b, with the same scale rule as addTimes.
Time subtractTimes(const Time& a, const Time& b);
// The same instant in another scale, rounded to the nearest unit.
Time convertScale(const Time& t, std::int32_t scale);
// Seconds as a double, for display and estimates only: never for arithmetic.
double seconds(const Time& t);

// The text form "D:HH:MM:SS.UUUU/SCALE" (see Time.cpp), read back exactly by parseTime.
std::string timeToString(const Time& t);
// Reads the text form, and what a person types into a duration or time field.
std::optional<Time> parseTime(std::string_view text);

} // namespace media
