#include "tools/SplitTimes.h"

#include <gtest/gtest.h>

using media::makeTime;
using media::Time;

namespace {

Time secondsTime(int s) {
    return makeTime(s * 600, 600);
}

double spanSeconds(const media::TimeRange& range) {
    return media::seconds(range.duration);
}

} // namespace

TEST(SplitTimesTest, TimesStayInAscendingOrderOfTheirInstantsWhateverTheirScales) {
    tools::SplitTimes times;
    EXPECT_EQ(times.add(secondsTime(10)), 0);
    EXPECT_EQ(times.add(makeTime(5000, 1000)), 0); // 5 s in another scale
    EXPECT_EQ(times.add(secondsTime(20)), 2);
    EXPECT_EQ(times.add(makeTime(3000, 600)), 1); // 5 s again: after the equal one
    ASSERT_EQ(times.count(), 4);
    EXPECT_EQ(times.times()[0], makeTime(5000, 1000));
    EXPECT_EQ(times.times()[1], makeTime(3000, 600));
    EXPECT_EQ(times.text(3), QString::fromStdString(media::timeToString(secondsTime(20))));

    times.removeRows({});
    EXPECT_EQ(times.count(), 4);
    times.removeRows({3, 0, 3, 9, -1});
    ASSERT_EQ(times.count(), 2);
    EXPECT_EQ(times.times()[0], makeTime(3000, 600));
    EXPECT_EQ(times.times()[1], secondsTime(10));
}

TEST(SplitTimesTest, SpansAndCutsSkipTwiceGivenTimesAndTimesPastTheEnd) {
    tools::SplitTimes times;
    for (int s : {5, 10, 10, 0, 40})
        times.add(secondsTime(s));
    const Time end = secondsTime(30);
    // 0, 5, 10, 10, 40
    EXPECT_DOUBLE_EQ(spanSeconds(times.pieceSpan(0, end)), 5.0);
    EXPECT_DOUBLE_EQ(spanSeconds(times.pieceSpan(2, end)), 30.0 - 10.0); // the next later time is past the end
    EXPECT_DOUBLE_EQ(spanSeconds(times.pieceSpan(3, end)), 20.0);
    EXPECT_DOUBLE_EQ(spanSeconds(times.pieceSpan(4, end)), 0.0);
    EXPECT_EQ(times.cutsWithin(end), (std::vector<Time>{secondsTime(5), secondsTime(10)}));
    EXPECT_TRUE(tools::SplitTimes().cutsWithin(end).empty());
}
