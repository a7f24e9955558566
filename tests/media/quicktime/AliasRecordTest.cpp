// The alias record a referring movie points at its sources with: the fields
// FFmpeg's reader takes the path from sit where it looks for them.

#include "media/quicktime/AliasRecord.h"

#include <gtest/gtest.h>

namespace {

using media::quicktime::aliasRecord;
using media::quicktime::aliasRecordTarget;

std::uint16_t big16(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return static_cast<std::uint16_t>((bytes[at] << 8) | bytes[at + 1]);
}

TEST(AliasRecordTest, HoldsThePathWhereReadersLook) {
    const std::vector<std::uint8_t> record = aliasRecord("/home/user/My clip.mov");
    ASSERT_GT(record.size(), 150u) << "FFmpeg follows only records of more than 150 bytes";
    EXPECT_EQ(big16(record, 4), record.size()) << "the record's own size";
    EXPECT_EQ(record[10], 0) << "an empty volume name";
    EXPECT_EQ(record[50], 11) << "the file name's length";
    EXPECT_EQ(std::string(record.begin() + 51, record.begin() + 62), "My clip.mov");
    EXPECT_EQ(big16(record, 130), 0xffff) << "levels up: unknown, so the absolute path is used";
    EXPECT_EQ(big16(record, 132), 0xffff);
    EXPECT_EQ(big16(record, 150), 2) << "the first tagged field is the absolute path";
    EXPECT_EQ(std::string(record.begin() + 154, record.begin() + 154 + big16(record, 152)),
              ":home:user:My clip.mov");
}

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
