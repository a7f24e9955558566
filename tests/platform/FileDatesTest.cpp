#include "platform/FileDates.h"

#include <QTemporaryDir>
#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;
using platform::CatalogDate;

class FileDatesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_folder.isValid());
        m_file = fs::path(m_folder.path().toStdString()) / "clip.mov";
        std::ofstream(m_file) << "data";
    }

    static std::int64_t now() { return static_cast<std::int64_t>(std::time(nullptr)); }

    QTemporaryDir m_folder;
    fs::path m_file;
};

TEST_F(FileDatesTest, ContentModDateIsSetAndReadToTheNanosecondKeepingTheAccessTime) {
    const struct timespec times[2] = {{1'000'000'000, 5}, {UTIME_OMIT, UTIME_OMIT}};
    ASSERT_EQ(utimensat(AT_FDCWD, m_file.c_str(), times, 0), 0);
    const CatalogDate date{1'300'000'000, 123'456'789};
    platform::SetContentModDate(m_file, date);
    CatalogDate read;
    ASSERT_EQ(platform::GetContentModDate(m_file, read), 0);
    EXPECT_EQ(read, date);
    struct stat status {};
    ASSERT_EQ(stat(m_file.c_str(), &status), 0);
    EXPECT_EQ(status.st_atim.tv_sec, 1'000'000'000);
    EXPECT_EQ(status.st_atim.tv_nsec, 5);
}

TEST_F(FileDatesTest, CreationDateIsTheBirthTimeWhenTheFileSystemKeepsOne) {
    CatalogDate born{-1, 0};
    const int error = platform::GetCreationDate(m_file, born);
    if (error == ENOTSUP) {
        EXPECT_EQ(born, (CatalogDate{-1, 0})) << "a failed read leaves the date alone";
        GTEST_SKIP() << "the file system keeps no birth times";
    }
    ASSERT_EQ(error, 0);
    const fs::path later = fs::path(m_folder.path().toStdString()) / "later.mov";
    const std::int64_t before = now();
    std::ofstream(later) << "data";
    CatalogDate laterBorn;
    ASSERT_EQ(platform::GetCreationDate(later, laterBorn), 0);
    EXPECT_GE(laterBorn.seconds, before - 1);
    EXPECT_LE(laterBorn.seconds, now() + 1);
    EXPECT_LT(laterBorn.nanoseconds, 1'000'000'000u);
}

TEST_F(FileDatesTest, CreationAndAttributeDatesCannotBeSet) {
    CatalogDate bornBefore, changedBefore;
    const int bornError = platform::GetCreationDate(m_file, bornBefore);
    ASSERT_EQ(platform::GetAttributeModDate(m_file, changedBefore), 0);
    platform::SetCreationDate(m_file, CatalogDate{100, 0});
    platform::SetAttributeModDate(m_file, CatalogDate{100, 0});
    CatalogDate bornAfter, changedAfter;
    EXPECT_EQ(platform::GetCreationDate(m_file, bornAfter), bornError);
    if (bornError == 0) {
        EXPECT_EQ(bornAfter, bornBefore);
    }
    ASSERT_EQ(platform::GetAttributeModDate(m_file, changedAfter), 0);
    EXPECT_EQ(changedAfter, changedBefore);
}

TEST_F(FileDatesTest, AttributeModDateFollowsAChangeOfAttributes) {
    platform::SetContentModDate(m_file, CatalogDate{1'000'000'000, 0});
    const std::int64_t before = now();
    ASSERT_EQ(chmod(m_file.c_str(), 0600), 0);
    CatalogDate changed;
    ASSERT_EQ(platform::GetAttributeModDate(m_file, changed), 0);
    EXPECT_GE(changed.seconds, before - 1);
    CatalogDate modified;
    ASSERT_EQ(platform::GetContentModDate(m_file, modified), 0);
    EXPECT_EQ(modified.seconds, 1'000'000'000) << "attributes are not content";
}

TEST_F(FileDatesTest, AMissingFileOrAnImpossibleDateChangesNothing) {
    const fs::path missing = fs::path(m_folder.path().toStdString()) / "missing.mov";
    const CatalogDate untouched{42, 7};
    CatalogDate date = untouched;
    EXPECT_EQ(platform::GetContentModDate(missing, date), ENOENT);
    EXPECT_EQ(platform::GetAttributeModDate(missing, date), ENOENT);
    EXPECT_EQ(platform::GetCreationDate(missing, date), ENOENT);
    EXPECT_EQ(date, untouched);
    platform::SetContentModDate(missing, CatalogDate{1, 0});
    EXPECT_FALSE(fs::exists(missing));

    platform::SetContentModDate(m_file, CatalogDate{1'000'000'000, 0});
    platform::SetContentModDate(m_file, CatalogDate{5, 2'000'000'000u}); // impossible: changes nothing
    ASSERT_EQ(platform::GetContentModDate(m_file, date), 0);
    EXPECT_EQ(date.seconds, 1'000'000'000);
}

TEST_F(FileDatesTest, DatesFollowASymbolicLink) {
    const fs::path link = fs::path(m_folder.path().toStdString()) / "link.mov";
    fs::create_symlink(m_file, link);
    platform::SetContentModDate(link, CatalogDate{1'100'000'000, 0});
    CatalogDate date;
    ASSERT_EQ(platform::GetContentModDate(m_file, date), 0);
    EXPECT_EQ(date.seconds, 1'100'000'000);
}

// An exported file takes the dates of its source: what Linux can set.
TEST_F(FileDatesTest, CopyingDatesGivesTheDestinationTheSourcesModificationDateOnly) {
    const fs::path exported = fs::path(m_folder.path().toStdString()) / "clip.mov.mp4";
    std::ofstream(exported) << "exported";
    const CatalogDate modified{1'250'000'000, 987'654'321};
    platform::SetContentModDate(m_file, modified);

    EXPECT_TRUE(platform::CopyFileDates(m_file, exported));
    CatalogDate date;
    ASSERT_EQ(platform::GetContentModDate(exported, date), 0);
    EXPECT_EQ(date, modified) << "to the nanosecond";
    CatalogDate source;
    ASSERT_EQ(platform::GetContentModDate(m_file, source), 0);
    EXPECT_EQ(source, modified) << "the source is only read";

    // With a missing file: nothing changes, and it says so.
    const fs::path missing = fs::path(m_folder.path().toStdString()) / "missing.mov";
    EXPECT_FALSE(platform::CopyFileDates(missing, m_file));
    ASSERT_EQ(platform::GetContentModDate(m_file, date), 0);
    EXPECT_EQ(date, modified);
    EXPECT_FALSE(platform::CopyFileDates(m_file, missing));
    EXPECT_FALSE(fs::exists(missing)) << "no file is made for the dates";
    EXPECT_FALSE(platform::CopyFileDates(fs::path(), m_file));
}

} // namespace
