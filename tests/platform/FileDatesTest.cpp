#include "platform/FileDates.h"

#include "TestFolder.h"

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;
using platform::CatalogDate;

std::int64_t now() {
    return static_cast<std::int64_t>(std::time(nullptr));
}

class FileDatesTest : public ::testing::Test {
protected:
    const testing_support::TestFolder m_folder;
    const fs::path m_file = m_folder.write("clip.mov");
    const fs::path m_missing = m_folder / "missing.mov";
};

TEST_F(FileDatesTest, ContentModDateIsSetAndReadToTheNanosecondThroughLinksKeepingTheAccessTime) {
    const struct timespec times[2] = {{1'000'000'000, 5}, {UTIME_OMIT, UTIME_OMIT}};
    ASSERT_EQ(utimensat(AT_FDCWD, m_file.c_str(), times, 0), 0);
    const CatalogDate date{1'300'000'000, 123'456'789};
    platform::SetContentModDate(m_file, date);
    EXPECT_EQ(platform::GetContentModDate(m_file), date);
    struct stat status {};
    ASSERT_EQ(stat(m_file.c_str(), &status), 0);
    EXPECT_EQ(status.st_atim.tv_sec, 1'000'000'000);
    EXPECT_EQ(status.st_atim.tv_nsec, 5);

    const fs::path link = m_folder / "link.mov";
    fs::create_symlink(m_file, link);
    platform::SetContentModDate(link, CatalogDate{1'100'000'000, 0});
    EXPECT_EQ(platform::GetContentModDate(m_file), (CatalogDate{1'100'000'000, 0}));
}

TEST_F(FileDatesTest, CreationDateIsTheBirthTimeWhenTheFileSystemKeepsOne) {
    const auto born = platform::GetCreationDate(m_file);
    if (!born && born.error() == ENOTSUP)
        GTEST_SKIP() << "the file system keeps no birth times";
    ASSERT_TRUE(born.has_value()) << born.error();
    const std::int64_t before = now();
    const auto laterBorn = platform::GetCreationDate(m_folder.write("later.mov"));
    ASSERT_TRUE(laterBorn.has_value());
    EXPECT_GE(laterBorn->seconds, before - 1);
    EXPECT_LE(laterBorn->seconds, now() + 1);
    EXPECT_LT(laterBorn->nanoseconds, 1'000'000'000u);
}

// The creation and attribute dates cannot be set; the attribute date follows
// a change of attributes, not of content.
TEST_F(FileDatesTest, AttributeModDateFollowsAChangeOfAttributes) {
    const auto bornBefore = platform::GetCreationDate(m_file);
    const auto changedBefore = platform::GetAttributeModDate(m_file);
    ASSERT_TRUE(changedBefore.has_value());
    platform::SetCreationDate(m_file, CatalogDate{100, 0});
    platform::SetAttributeModDate(m_file, CatalogDate{100, 0});
    EXPECT_EQ(platform::GetCreationDate(m_file), bornBefore);
    EXPECT_EQ(platform::GetAttributeModDate(m_file), changedBefore);

    platform::SetContentModDate(m_file, CatalogDate{1'000'000'000, 0});
    const std::int64_t before = now();
    ASSERT_EQ(chmod(m_file.c_str(), 0600), 0);
    const auto changed = platform::GetAttributeModDate(m_file);
    ASSERT_TRUE(changed.has_value());
    EXPECT_GE(changed->seconds, before - 1);
    EXPECT_EQ(platform::GetContentModDate(m_file), (CatalogDate{1'000'000'000, 0}))
        << "attributes are not content";
}

TEST_F(FileDatesTest, AMissingFileOrAnImpossibleDateChangesNothing) {
    for (const auto read :
         {platform::GetContentModDate, platform::GetAttributeModDate, platform::GetCreationDate})
        EXPECT_EQ(read(m_missing), std::unexpected(ENOENT));
    platform::SetContentModDate(m_missing, CatalogDate{1, 0});
    EXPECT_FALSE(fs::exists(m_missing));

    platform::SetContentModDate(m_file, CatalogDate{1'000'000'000, 0});
    platform::SetContentModDate(m_file, CatalogDate{5, 2'000'000'000u}); // impossible: changes nothing
    EXPECT_EQ(platform::GetContentModDate(m_file), (CatalogDate{1'000'000'000, 0}));
}

// An exported file takes the dates of its source: what Linux can set.
TEST_F(FileDatesTest, CopyingDatesGivesTheDestinationTheSourcesModificationDateOnly) {
    const fs::path exported = m_folder.write("clip.mov.mp4", "exported");
    const CatalogDate modified{1'250'000'000, 987'654'321};
    platform::SetContentModDate(m_file, modified);
    EXPECT_TRUE(platform::CopyFileDates(m_file, exported));
    EXPECT_EQ(platform::GetContentModDate(exported), modified) << "to the nanosecond";
    EXPECT_EQ(platform::GetContentModDate(m_file), modified) << "the source is only read";

    // With a missing file: nothing changes, and it says so.
    EXPECT_FALSE(platform::CopyFileDates(m_missing, m_file));
    EXPECT_EQ(platform::GetContentModDate(m_file), modified);
    EXPECT_FALSE(platform::CopyFileDates(m_file, m_missing));
    EXPECT_FALSE(fs::exists(m_missing)) << "no file is made for the dates";
    EXPECT_FALSE(platform::CopyFileDates(fs::path(), m_file));
}

} // namespace
