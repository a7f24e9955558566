// The alias record a referring movie points at its sources with reads back
// whole. That FFmpeg's reader follows it: ReferringMovieTest.

#include "media/quicktime/AliasRecord.h"

#include <gtest/gtest.h>

namespace {

using media::quicktime::aliasRecord;
using media::quicktime::aliasRecordTarget;

// The path is kept whole (and read back) where the name field is cut short:
// the 63rd byte starts a character. Bytes that are no alias record have no target.
TEST(AliasRecordTest, LongNamesAreCutWithoutSplittingCharacters) {
    const std::string name = std::string(62, 'a') + "\xc3\xa9" + ".mov";
    const std::vector<std::uint8_t> record = aliasRecord("/" + name);
    EXPECT_EQ(record[50], 62);
    EXPECT_EQ(aliasRecordTarget(record), std::filesystem::path("/" + name));
    EXPECT_EQ(aliasRecordTarget(aliasRecord("/a.mov")), std::filesystem::path("/a.mov")) << "an odd length";
    EXPECT_TRUE(aliasRecordTarget({1, 2, 3}).empty());
}

} // namespace
