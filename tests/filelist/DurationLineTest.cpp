#include "filelist/DurationLine.h"

#include <gtest/gtest.h>

namespace {

using filelist::durationLine;

TEST(DurationLineTest, SumsAcrossScalesAndScalesToTheDesiredDuration) {
    EXPECT_EQ(durationLine({"0:00:00:10.0/600", "0:00:00:10.0/600"}, 30),
              "Total Duration: 0:00:00:20.0/600, Total Scaled Duration: 0:00:00:30.0/600");
    // Different scales add exactly.
    EXPECT_EQ(durationLine({"0:00:00:01.0/25", "0:00:00:00.500/1000"}, std::nullopt),
              "Total Duration: 0:00:00:01.500/1000");
    // Unreadable durations add nothing; no durations at all make a zero total.
    EXPECT_EQ(durationLine({"junk", "0:00:00:02.0/600"}, std::nullopt), "Total Duration: 0:00:00:02.0/600");
}

TEST(DurationLineTest, AZeroTotalIsNotScaled) {
    const auto line = durationLine({"0:00:00:00.0/600"}, 30);
    ASSERT_TRUE(line);
    EXPECT_EQ(line->indexOf("Scaled"), -1) << line->toStdString();
    EXPECT_EQ(durationLine({}, 30)->indexOf("Scaled"), -1);
}

} // namespace
