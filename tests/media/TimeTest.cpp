#include "media/Time.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <numeric>
#include <random>
#include <ranges>
#include <string>
#include <vector>

namespace {

using media::Time;

constexpr std::int64_t kMaxValue = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMinValue = std::numeric_limits<std::int64_t>::min();
constexpr std::int32_t kMaxScale = std::numeric_limits<std::int32_t>::max();

Time t(std::int64_t value, std::int32_t scale) {
    return media::makeTime(value, scale);
}

// Pairs of times and how they compare: across scales, exactly where doubles
// and 64-bit cross products fail, without a scale (zero), indefinite (last).
TEST(TimeCompare, OrdersInstantsExactly) {
    struct Case {
        Time a, b;
        int expected;
    };
    const Case cases[] = {{t(1, 2), t(300, 600), 0},
                          {t(1, 3), t(333333, 1000000), 1},
                          {t(-1, 2), t(1, 600), -1},
                          {t(kMaxValue, kMaxScale), t(kMaxValue - 1, kMaxScale), 1},
                          {t(kMaxValue, 3), t(kMaxValue, 2), -1},
                          {t(kMinValue, 3), t(kMinValue, 2), 1},
                          {t(kMaxValue, kMaxScale), t(kMaxValue, kMaxScale - 1), -1},
                          // (2^63 - 1) / (2^31 - 1) is 2^32 + 2 and a little more.
                          {t(kMaxValue, kMaxScale), t(4294967298LL, 1), 1},
                          {t(kMaxValue - 1, kMaxScale), t(4294967298LL, 1), 0},
                          {media::zeroTime(), t(0, 600), 0},
                          {media::zeroTime(), t(1, kMaxScale), -1},
                          // Made by hand, against the rule: still the zero instant.
                          {Time{5, 0, Time::None}, media::zeroTime(), 0},
                          {media::indefiniteTime(), t(kMaxValue, 1), 1},
                          {media::indefiniteTime(), Time{42, 600, Time::Indefinite}, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(media::compareTimes(c.a, c.b), c.expected)
            << media::timeToString(c.a) << " vs " << media::timeToString(c.b);
    EXPECT_EQ(media::makeTime(7, 0), media::zeroTime());
    EXPECT_EQ(media::makeTime(7, -3), media::zeroTime());
}

// Sums and differences: in a common scale when it fits, else the larger
// scale rounded to nearest (halves away from zero); overflow is indefinite.
TEST(TimeAdd, AddsAndSubtractsInTheRightScale) {
    struct Case {
        Time a, b;
        bool subtract;
        Time expected;
    };
    const Time indefinite = media::indefiniteTime();
    const Case cases[] = {
        {t(1, 600), t(2, 600), false, t(3, 600)},
        {t(1, 600), t(2, 600), true, t(-1, 600)},
        {t(1, 2), t(1, 3), false, t(5, 6)},
        {t(1, 600), t(1, 44100), false, t(147 + 2, 88200)},
        // 2^31 - 1 is prime, so its least common multiple with any other scale is beyond 32 bits.
        {t(1, kMaxScale), t(1, kMaxScale - 1), false, t(2, kMaxScale)},
        {t(1, 3), t(0, kMaxScale), false, t(715827882, kMaxScale)},
        // The lcm (6) fits, the value in it does not: scale 3, exact value 6917529027641081855.5.
        {t(kMaxValue / 2, 2), t(1, 3), false, t(6917529027641081856LL, 3)},
        {t(1, 2), t(0, kMaxScale), false, t(1073741824, kMaxScale)},
        {t(kMaxValue, 1), t(1, 1), false, indefinite},
        {t(kMaxValue, 1), t(kMaxValue, 2), false, indefinite},
        {media::zeroTime(), t(kMinValue, 1), true, indefinite},
        {t(kMaxValue, 1), t(kMinValue, 1), false, t(-1, 1)},
        {t(kMaxValue, kMaxScale), t(kMaxValue, kMaxScale), true, t(0, kMaxScale)},
        {indefinite, t(1, 1), false, indefinite},
        {t(1, 1), indefinite, true, indefinite},
        // A running total starts from the zero of no scale.
        {media::zeroTime(), t(54300, 600), false, t(54300, 600)},
        {media::zeroTime(), media::zeroTime(), false, media::zeroTime()},
        {media::zeroTime(), t(5, 600), true, t(-5, 600)}};
    for (const Case& c : cases) {
        const Time result = c.subtract ? media::subtractTimes(c.a, c.b) : media::addTimes(c.a, c.b);
        if (media::isIndefinite(c.expected))
            EXPECT_TRUE(media::isIndefinite(result))
                << media::timeToString(c.a) << ", " << media::timeToString(c.b);
        else
            EXPECT_EQ(result, c.expected) << media::timeToString(c.a) << ", " << media::timeToString(c.b);
    }
}

TEST(TimeAdd, IsCommutativeAndExactWhenTheCommonScaleFits) {
    std::mt19937_64 random(7);
    std::uniform_int_distribution<std::int32_t> scales(1, 50000);
    std::uniform_int_distribution<std::int64_t> values(-(std::int64_t{1} << 40), std::int64_t{1} << 40);
    for (int i = 0; i < 2000; ++i) {
        const Time a = t(values(random), scales(random));
        const Time b = t(values(random), scales(random));
        const Time sum = media::addTimes(a, b);
        ASSERT_EQ(sum, media::addTimes(b, a));
        if (std::lcm(std::int64_t{a.scale}, std::int64_t{b.scale}) <= kMaxScale) {
            ASSERT_EQ(media::compareTimes(media::subtractTimes(sum, b), a), 0);
        } else {
            ASSERT_EQ(sum.scale, std::max(a.scale, b.scale));
        }
    }
}

// Rounded to the nearest unit, halves away from zero; no scale keeps the time.
// In seconds (for display only), indefinite is infinite.
TEST(TimeConvert, RoundsToTheNearestUnitAndHandlesTheEdges) {
    EXPECT_EQ(media::convertScale(t(1, 3), 2), t(1, 2));
    EXPECT_EQ(media::convertScale(t(1, 4), 2), t(1, 2));   // half: away from zero
    EXPECT_EQ(media::convertScale(t(-1, 4), 2), t(-1, 2)); // half: away from zero
    EXPECT_EQ(media::convertScale(t(1, 5), 2), t(0, 2));
    EXPECT_EQ(media::convertScale(t(kMaxValue, kMaxScale), 1), t(4294967298LL, 1));
    EXPECT_EQ(media::convertScale(t(kMinValue, kMaxScale), 1), t(-4294967298LL, 1));
    EXPECT_TRUE(media::isIndefinite(media::convertScale(t(kMaxValue, 1), 600)));
    EXPECT_TRUE(media::isIndefinite(media::convertScale(media::indefiniteTime(), 600)));
    EXPECT_EQ(media::convertScale(t(5, 600), 0), t(5, 600));
    EXPECT_EQ(media::convertScale(media::zeroTime(), 600), t(0, 600));
    EXPECT_DOUBLE_EQ(media::seconds(t(-1, 4)), -0.25);
    EXPECT_TRUE(std::isinf(media::seconds(media::indefiniteTime())));
}

TEST(TimeText, WritesDaysClockUnitsAndScaleToTheExtremes) {
    EXPECT_EQ(media::timeToString(t(54300, 600)), "0:00:01:30.300/600");
    EXPECT_EQ(media::timeToString(t(-54300, 600)), "-0:00:01:30.300/600");
    EXPECT_EQ(media::timeToString(t(90061 * 30 + 7, 30)), "1:01:01:01.7/30");
    EXPECT_EQ(media::timeToString(media::zeroTime()), "0:00:00:00.0/1");
    EXPECT_EQ(media::timeToString(media::indefiniteTime()), "indefinite");
    EXPECT_EQ(media::timeToString(t(kMaxValue, 1)), "106751991167300:15:30:07.0/1");
    EXPECT_EQ(media::timeToString(t(kMaxValue, kMaxScale)), "49710:06:28:18.1/2147483647");
    EXPECT_EQ(media::timeToString(t(kMinValue, kMaxScale)), "-49710:06:28:18.2/2147483647");
}

TEST(TimeText, RoundTripsEveryValueAndScale) {
    std::vector<std::int64_t> values = {0,     1,     -1, kMaxValue, kMinValue, kMaxValue - 1, kMinValue + 1,
                                        86399, -86400};
    std::vector<std::int32_t> scales = {1, 2, 10, 600, 44100, 90000, 1000000000, kMaxScale - 1, kMaxScale};
    std::mt19937_64 random(0x5eed);
    std::uniform_int_distribution<std::int32_t> anyScale(1, kMaxScale);
    for (int i = 0; i < 300; ++i) {
        values.push_back(static_cast<std::int64_t>(random()));
        values.push_back(static_cast<std::int64_t>(random() >> (random() % 64)));
        scales.push_back(anyScale(random));
    }
    for (const std::int64_t value : values) {
        for (const std::int32_t scale : scales) {
            const Time time = t(value, scale);
            const std::string text = media::timeToString(time);
            const auto back = media::parseTime(text);
            ASSERT_TRUE(back.has_value()) << text;
            ASSERT_EQ(*back, time) << text;
        }
    }
    EXPECT_EQ(media::parseTime(media::timeToString(media::indefiniteTime())), media::indefiniteTime());
    EXPECT_EQ(
        media::compareTimes(*media::parseTime(media::timeToString(media::zeroTime())), media::zeroTime()), 0);
}

TEST(TimeText, ReadsWhatPeopleTypeAndRefusesEverythingElse) {
    struct Case {
        const char* text;
        Time expected;
    };
    const Case cases[] = {{"90", t(90, 1)},
                          {"90.5", t(905, 10)},
                          {"90.50", t(9050, 100)},
                          {"1:30", t(90, 1)},
                          {"1:30.25", t(9025, 100)},
                          {"1:02:03", t(3723, 1)},
                          {"100:00:00", t(360000, 1)},
                          {"2:03:04:05.001", t((2 * 86400 + 3 * 3600 + 4 * 60 + 5) * 1000LL + 1, 1000)},
                          {"0.123456789", t(123456789, 1000000000)},
                          {"1:30.300/600", t(54300, 600)},
                          {" \t1:30\n", t(90, 1)},
                          {"-1:30", t(-90, 1)},
                          {"-0", t(0, 1)},
                          {"007", t(7, 1)},
                          {"9223372036854775807", t(kMaxValue, 1)},
                          {"-9223372036854775808", t(kMinValue, 1)},
                          {" Indefinite ", media::indefiniteTime()}};
    for (const Case& c : cases) {
        const auto parsed = media::parseTime(c.text);
        ASSERT_TRUE(parsed.has_value()) << c.text;
        EXPECT_EQ(*parsed, c.expected) << c.text;
    }
    // Each text between the bars is refused.
    const std::string refused =
        "|   |abc|5 "
        "s|1:|:30|1::2|1:5|1:60|1:60:00|1:00:60|1:24:00:00|0:00:00:00:00|90.|.5|1.|90/600|1.5/0|1.5/"
        "-600|1.600/600|1.5/2147483648|1.5/600/2|0.1234567890|1-2|1:-30|- 5|--5|+5|5-|1.-5|1 "
        ":30|1,5|9223372036854775808|-9223372036854775809|106751991167301:00:00:00|"
        "99999999999999999999999999999999|0.5/99999999999999999999999|indefinite2|in "
        "definite|-indefinite|\xc2\xbd";
    for (const auto text : std::views::split(refused, '|')) {
        const std::string_view view(text.begin(), text.end());
        EXPECT_FALSE(media::parseTime(view).has_value()) << '"' << view << '"';
    }
    // A NUL inside the text is not an end.
    EXPECT_FALSE(media::parseTime(std::string_view("90\0", 3)).has_value());
    // Units of 1/scale that overflow only together with the seconds.
    EXPECT_FALSE(media::parseTime("106751991167300:15:30:07.1/2").has_value());
    EXPECT_FALSE(media::parseTime("49710:06:28:18.2/2147483647").has_value());
    EXPECT_TRUE(media::parseTime("-49710:06:28:18.2/2147483647").has_value());
}

} // namespace
