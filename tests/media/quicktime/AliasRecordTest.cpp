// The alias record a referring movie points at its sources with reads back
// whole. That FFmpeg's reader follows it: ReferringMovieTest.

#include "media/quicktime/AliasRecord.h"

#include <gtest/gtest.h>

namespace {

using media::quicktime::aliasRecord;
using media::quicktime::aliasRecordTarget;

TEST(AliasRecordTest, ReadsBackThePath) {
    for (const char* path : {"/a.mov", "/home/user/odd length.mp4", "/x/\xc3\xa9t\xc3\xa9.mov"})
        EXPECT_EQ(aliasRecordTarget(aliasRecord(path)), std::filesystem::path(path));
    EXPECT_TRUE(aliasRecordTarget({1, 2, 3}).empty());
}

TEST(AliasRecordTest, LongNamesAreCutWithoutSplittingCharacters) {
    const std::string name = std::string(62, 'a') + "\xc3\xa9" + ".mov"; // the 63rd byte starts a character
    const std::vector<std::uint8_t> record = aliasRecord("/" + name);
    EXPECT_EQ(record[50], 62);
    EXPECT_EQ(aliasRecordTarget(record), std::filesystem::path("/" + name)) << "the path itself is whole";
}

} // namespace
