#include "join/DockProgress.h"
#include "join/ProgressEstimate.h"

#include <gtest/gtest.h>

namespace {

std::string line(std::uint32_t elapsed, double fraction) {
    support::ShortText text;
    join::timeLine(elapsed, join::remainingSeconds(elapsed, fraction), text);
    return std::string(text.view());
}

TEST(ProgressEstimateTest, RemainingTimeFromTheFractionDone) {
    EXPECT_EQ(line(30, 0.25), "Elapsed Time: 30 secs, Est. Time Remaining: 1 min 30 secs");
    EXPECT_EQ(line(0, 0), "Elapsed Time: 0 secs, Est. Time Remaining: 0 secs");
    EXPECT_EQ(join::remainingSeconds(10, 0.01), 990u) << "no lower bound for small fractions";
    EXPECT_EQ(join::remainingSeconds(10, 1.0), 0u);
}

TEST(DockProgressTest, SweepsAndSectors) {
    EXPECT_EQ(join::pieSweepForItem(3, 4), 270);
    EXPECT_EQ(join::pieSweepForItem(1, 0), 0);
    EXPECT_EQ(join::pieSweepForPercent(33.3f), 119);
    // Half a pie from 12 o'clock clockwise covers the right half of the tile.
    const QPainterPath half = join::pieSector(180);
    EXPECT_TRUE(half.contains(QPointF(100, 63)));
    EXPECT_FALSE(half.contains(QPointF(27, 63)));
    const QPainterPath quarter = join::pieSector(90);
    EXPECT_TRUE(quarter.contains(QPointF(90, 40))) << "upper right";
    EXPECT_FALSE(quarter.contains(QPointF(90, 90))) << "lower right";
    const QImage tile = join::dockProgressImage(QImage(), 180);
    EXPECT_EQ(tile.size(), QSize(127, 127));
    EXPECT_GT(qAlpha(tile.pixel(100, 63)), qAlpha(tile.pixel(27, 63))) << "the done part is darker";
    EXPECT_EQ(qAlpha(tile.pixel(1, 1)), 0) << "outside the ellipse";
}

} // namespace
