// The file system as the application uses it: names and extensions, the
// catalog dates, and folder listings.

#include "TestFolder.h"
#include "platform/FileDates.h"
#include "platform/FileNames.h"
#include "platform/FolderListing.h"
#include "platform/TextOrder.h"

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;
using testing_support::contentsOf;

class FilesTest : public ::testing::Test {
protected:
    const fs::path& root() const { return m_folder.path(); }
    const testing_support::TestFolder m_folder;
};

TEST(FileNamesTest, ExtensionIsTheTextAfterTheLastDotOfTheName) {
    const struct {
        const char* path;
        const char* extension; // nullptr: none
    } names[] = {{"/movies/Holiday.mov", "mov"}, {"/movies/archive.tar.gz", "gz"},
                 {"/movies/Holiday", nullptr},   {"/movies/notes.", nullptr},
                 {"/movies.d/Holiday", nullptr}, // a dot in a folder name is none
                 {"/home/.profile", nullptr},    // a leading dot belongs to the name
                 {"/home/.clip.mov", "mov"}};
    for (const auto& [path, extension] : names)
        EXPECT_EQ(platform::CopyNameExtension(path),
                  extension ? std::optional(QString(extension)) : std::nullopt)
            << path;
}

using AddNameExtensionTest = FilesTest;
using platform::AddNameExtensionIfMissing;

TEST_F(AddNameExtensionTest, RenamesAFileWithoutExtension) {
    const struct {
        const char* name;
        const char* extension;
        const char* renamed;
    } renames[] = {
        {"Holiday", ".mov", "Holiday.mov"},
        {"Film", "mov", "Film.mov"},        // the dot is added
        {"notes.", ".mov", "notes.mov"},    // no second dot
        {"caf\xe9", ".mov", "caf\xe9.mov"}, // a name that is not UTF-8
    };
    for (const auto& [name, extension, renamed] : renames) {
        ASSERT_EQ(AddNameExtensionIfMissing(m_folder.write(name, name), QString(extension)), root() / renamed)
            << name;
        EXPECT_FALSE(fs::exists(root() / name));
        EXPECT_EQ(contentsOf(root() / renamed), name);
    }
}

TEST_F(AddNameExtensionTest, LeavesAloneWhatItMustNotRenameAndPathsLongerThan255Bytes) {
    const fs::path withExtension = m_folder.write("Holiday.mp4");
    EXPECT_EQ(AddNameExtensionIfMissing(withExtension, QStringLiteral(".mov")), std::nullopt);
    EXPECT_FALSE(fs::exists(root() / "Holiday.mp4.mov"));
    EXPECT_EQ(AddNameExtensionIfMissing(root() / "missing", QStringLiteral(".mov")), std::nullopt);
    EXPECT_FALSE(fs::exists(root() / "missing.mov"));
    const fs::path file = m_folder.write("Holiday", "new");
    const fs::path taken = m_folder.write("Holiday.mov", "old");
    EXPECT_EQ(AddNameExtensionIfMissing(file, QStringLiteral(".mov")), std::nullopt) << "never replaces";
    EXPECT_EQ(contentsOf(file), "new");
    EXPECT_EQ(contentsOf(taken), "old");
    fs::create_directory(root() / "sub");
    EXPECT_EQ(AddNameExtensionIfMissing(file, QStringLiteral("/../sub/x")), std::nullopt) << "would move it";
    EXPECT_EQ(AddNameExtensionIfMissing(file, QString()), std::nullopt);
    EXPECT_TRUE(fs::exists(file) && fs::exists(withExtension));
    // A folder name that makes the file's path exactly 256 bytes long.
    const fs::path folder = root() / std::string(256 - root().native().size() - 6, 'f');
    const fs::path longPath = m_folder.write(folder / "clip");
    ASSERT_EQ(longPath.native().size(), 256u);
    EXPECT_EQ(AddNameExtensionIfMissing(longPath, QStringLiteral(".mov")), std::nullopt);
    EXPECT_TRUE(fs::exists(longPath));
    EXPECT_EQ(AddNameExtensionIfMissing(m_folder.write(folder / "cli"), QStringLiteral(".mov")),
              folder / "cli.mov");
}

using platform::CatalogDate;

std::int64_t now() {
    return std::time(nullptr);
}

class FileDatesTest : public FilesTest {
protected:
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
    EXPECT_EQ(status.st_atim.tv_sec * 10 + status.st_atim.tv_nsec, 10'000'000'005)
        << "the access time is kept";
    fs::create_symlink(m_file, m_folder / "link.mov");
    platform::SetContentModDate(m_folder / "link.mov", CatalogDate{1'100'000'000, 0});
    EXPECT_EQ(platform::GetContentModDate(m_file), (CatalogDate{1'100'000'000, 0}));
}

// The creation and attribute dates cannot be set: the creation date is the
// birth time where the file system keeps one, and the attribute date follows
// a change of attributes, not of content.
TEST_F(FileDatesTest,
       CreationAndAttributeDatesAreTheFileSystemsOwnAndMissingFilesOrImpossibleDatesChangeNothing) {
    const std::int64_t start = now();
    const auto born = platform::GetCreationDate(m_folder.write("later.mov"));
    EXPECT_TRUE(born ? born->seconds >= start - 1 && born->seconds <= now() + 1 : born.error() == ENOTSUP);
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
    // With a missing file: nothing changes, and it says so.
    EXPECT_FALSE(platform::CopyFileDates(m_missing, m_file));
    EXPECT_EQ(platform::GetContentModDate(m_file), modified);
    EXPECT_FALSE(platform::CopyFileDates(m_file, m_missing));
    EXPECT_FALSE(fs::exists(m_missing)) << "no file is made for the dates";
    EXPECT_FALSE(platform::CopyFileDates(fs::path(), m_file));
}

using platform::CopyFolderFileRefs;
using platform::isInvisible;

class FolderListingTest : public FilesTest {
protected:
    std::vector<fs::path> listing() const {
        std::vector<fs::path> list;
        EXPECT_TRUE(CopyFolderFileRefs(root(), list));
        return list;
    }
};

TEST_F(FolderListingTest, ListsFilesInTextOrderAndEqualNamesInByteOrder) {
    const std::vector<std::string> order = {"9.mov", "10.mov",    "a.mov",      "B.mov",
                                            "b.mov", "clip2.mov", "clip10.mov", "\xc3\xa9t\xc3\xa9.mov"};
    std::vector<fs::path> expected;
    for (const std::string& name : order)
        expected.push_back(root() / name);
    for (auto name = order.rbegin(); name != order.rend(); ++name) // made in reverse order
        m_folder.write(*name);
    platform::setTextOrderLocaleForTesting("en_US");
    EXPECT_EQ(listing(), expected);
    platform::setTextOrderLocaleForTesting(nullptr);
}

TEST_F(FolderListingTest, ListsFilesHiddenOnesAndLinksToFilesButNoFolders) {
    fs::create_directories(root() / "Sub" / "Deeper");
    EXPECT_TRUE(listing().empty()) << "a folder of subfolders only";
    m_folder.write(".hidden", "clip.mov\n");
    m_folder.write(".profile");
    const fs::path file = m_folder.write("clip.mov");
    m_folder.write("Sub/inner.mov");
    fs::create_symlink(file, root() / "link.mov");
    fs::create_symlink(root() / "Sub", root() / "folder-link");
    fs::create_symlink(root() / "missing.mov", root() / "dangling.mov");
    EXPECT_EQ(listing(), (std::vector<fs::path>{root() / ".hidden", root() / ".profile", root() / "clip.mov",
                                                root() / "link.mov"}));
}

TEST_F(FolderListingTest, AppendsToWhatTheListHoldsOrNothingForWhatCannotBeListed) {
    const fs::path file = m_folder.write("clip.mov");
    std::vector<fs::path> list{"/earlier/entry.mov"};
    EXPECT_FALSE(CopyFolderFileRefs(root() / "missing", list));
    EXPECT_FALSE(CopyFolderFileRefs(file, list));
    EXPECT_FALSE(CopyFolderFileRefs(fs::path(), list));
    EXPECT_EQ(list, std::vector<fs::path>{"/earlier/entry.mov"});
    ASSERT_TRUE(CopyFolderFileRefs(root(), list));
    EXPECT_EQ(list, (std::vector<fs::path>{"/earlier/entry.mov", file}));
}

TEST_F(FolderListingTest, NamesStartingWithADotOrListedInTheFoldersHiddenFileAreInvisible) {
    EXPECT_TRUE(isInvisible(root() / ".profile"));
    EXPECT_TRUE(isInvisible(root() / ".config/"));
    EXPECT_FALSE(isInvisible(root() / "not.hidden"));
    m_folder.write(".hidden", "secret.mov\r\nPrivate\n\n\xff-raw.mov");
    for (const char* name : {"secret.mov", "Private", "Private/", "\xff-raw.mov"})
        EXPECT_TRUE(isInvisible(root() / name)) << name;
    for (const char* name : {"secret", "secret.mov.bak", "clip.mov"})
        EXPECT_FALSE(isInvisible(root() / name)) << name;
    fs::create_directories(root() / "Sub" / ".hidden");
    EXPECT_FALSE(isInvisible(root() / "Sub" / "secret.mov"))
        << "the hidden file of another folder, or a folder";
}

} // namespace
