#include "support/FormatText.h"

#include <gtest/gtest.h>

namespace {

using support::fillFormat;

TEST(FormatTextTest, FillsPlaceholdersInOrder) {
    EXPECT_EQ(fillFormat("Processing file %d of %d", {"1", "3"}), "Processing file 1 of 3");
    EXPECT_EQ(fillFormat("Created movie: %@", {"a%d.mov"}), "Created movie: a%d.mov")
        << "arguments are not formats";
    EXPECT_EQ(fillFormat("%ld%% done, %s", {"50", "ok"}), "50% done, ok");
    EXPECT_EQ(fillFormat("%@ and %@", {"one"}), "one and %@");
    EXPECT_EQ(fillFormat("100%", {}), "100%");
}

} // namespace
