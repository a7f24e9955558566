#include "support/DurationText.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <string>

namespace {

std::string durationText(std::uint32_t seconds) {
    support::ShortText text;
    support::DurationText(seconds, text);
    return text.c_str();
}

TEST(DurationText, NamesEachNonZeroPartWithItsUnit) {
    const std::pair<std::uint32_t, const char*> table[] = {
        {0, "0 secs"},
        {1, "1 sec "},
        {2, "2 secs "},
        {59, "59 secs "},
        {60, "1 min "},
        {61, "1 min 1 sec "},
        {119, "1 min 59 secs "},
        {120, "2 mins "},
        {3599, "59 mins 59 secs "},
        {3600, "1 hr "},
        {3601, "1 hr 1 sec "},
        {3660, "1 hr 1 min "},
        {7199, "1 hr 59 mins 59 secs "},
        {7200, "2 hrs "},
        {7260, "2 hrs 1 min "},
        {7322, "2 hrs 2 mins 2 secs "},
        {86399, "23 hrs 59 mins 59 secs "},
        {90061, "25 hrs 1 min 1 sec "},
        {4294967295u, "1193046 hrs 28 mins 15 secs "},
    };
    for (const auto& [seconds, expected] : table) {
        EXPECT_EQ(durationText(seconds), expected) << seconds;
    }
}

TEST(DurationText, AppendsBehindALabel) {
    support::ShortText line("Elapsed: ");
    support::DurationText(5, line);
    line.append(", Remaining: ");
    support::DurationText(60, line);
    EXPECT_STREQ(line.c_str(), "Elapsed: 5 secs , Remaining: 1 min ");
}

} // namespace
