#include "platform/FolderListing.h"

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using platform::CopyFolderFileRefs;
using platform::isInvisible;

class FolderListingTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_folder.isValid()); }
    // Qt cannot remove names that are not UTF-8; the standard library can.
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(root(), ignored);
    }

    fs::path root() const { return fs::path(m_folder.path().toStdString()); }

    fs::path makeFile(const std::string& name, const std::string& contents = "data") const {
        std::ofstream(root() / name, std::ios::binary) << contents;
        return root() / name;
    }

    std::vector<fs::path> listing() const {
        std::vector<fs::path> list;
        EXPECT_TRUE(CopyFolderFileRefs(root(), list));
        return list;
    }

    QTemporaryDir m_folder;
};

TEST_F(FolderListingTest, ListsFilesSortedByTheBytesOfTheirNames) {
    for (const char* name :
         {"b.mov", "a.mov", "B.mov", "10.mov", "9.mov", "\xc3\xa9t\xc3\xa9.mov", "\xff.mov"})
        makeFile(name);
    const std::vector<fs::path> expected = {root() / "10.mov",  root() / "9.mov",
                                            root() / "B.mov",   root() / "a.mov",
                                            root() / "b.mov",   root() / "\xc3\xa9t\xc3\xa9.mov",
                                            root() / "\xff.mov"};
    EXPECT_EQ(listing(), expected);
}

TEST_F(FolderListingTest, ListsFilesHiddenOnesAndLinksToFilesButNoFolders) {
    fs::create_directories(root() / "Sub" / "Deeper");
    EXPECT_TRUE(listing().empty()) << "a folder of subfolders only";
    makeFile(".hidden", "clip.mov\n");
    makeFile(".profile");
    const fs::path file = makeFile("clip.mov");
    std::ofstream(root() / "Sub" / "inner.mov") << "data";
    fs::create_symlink(file, root() / "link.mov");
    fs::create_symlink(root() / "Sub", root() / "folder-link");
    fs::create_symlink(root() / "missing.mov", root() / "dangling.mov");
    EXPECT_EQ(listing(), (std::vector<fs::path>{root() / ".hidden", root() / ".profile", root() / "clip.mov",
                                                root() / "link.mov"}));
}

TEST_F(FolderListingTest, AppendsToWhatTheListHolds) {
    makeFile("clip.mov");
    std::vector<fs::path> list{"/earlier/entry.mov"};
    ASSERT_TRUE(CopyFolderFileRefs(root(), list));
    EXPECT_EQ(list, (std::vector<fs::path>{"/earlier/entry.mov", root() / "clip.mov"}));
}

TEST_F(FolderListingTest, AFolderThatCannotBeListedAppendsNothing) {
    const fs::path file = makeFile("clip.mov");
    std::vector<fs::path> list{"/earlier/entry.mov"};
    EXPECT_FALSE(CopyFolderFileRefs(root() / "missing", list));
    EXPECT_FALSE(CopyFolderFileRefs(file, list));
    EXPECT_FALSE(CopyFolderFileRefs(fs::path(), list));
    EXPECT_EQ(list, std::vector<fs::path>{"/earlier/entry.mov"});
}

TEST_F(FolderListingTest, NamesStartingWithADotOrListedInTheFoldersHiddenFileAreInvisible) {
    EXPECT_TRUE(isInvisible(root() / ".profile"));
    EXPECT_TRUE(isInvisible(root() / ".config/"));
    EXPECT_FALSE(isInvisible(makeFile("clip.mov")));
    EXPECT_FALSE(isInvisible(root() / "not.hidden"));

    makeFile(".hidden", "secret.mov\r\nPrivate\n\n\xff-raw.mov");
    for (const char* name : {"secret.mov", "Private", "Private/", "\xff-raw.mov"})
        EXPECT_TRUE(isInvisible(root() / name)) << name;
    for (const char* name : {"secret", "secret.mov.bak", "clip.mov"})
        EXPECT_FALSE(isInvisible(root() / name)) << name;
    fs::create_directory(root() / "Sub");
    EXPECT_FALSE(isInvisible(root() / "Sub" / "secret.mov")) << "the hidden file of another folder";
}

TEST_F(FolderListingTest, AHiddenFileThatIsAFolderHidesNothing) {
    fs::create_directory(root() / ".hidden");
    EXPECT_FALSE(isInvisible(root() / "clip.mov"));
}

} // namespace
