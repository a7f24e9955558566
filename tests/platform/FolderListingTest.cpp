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

TEST_F(FolderListingTest, LeavesOutSubfoldersAndWhatIsInsideThem) {
    makeFile("clip.mov");
    fs::create_directories(root() / "Sub" / "Deeper");
    std::ofstream(root() / "Sub" / "inner.mov") << "data";
    EXPECT_EQ(listing(), std::vector<fs::path>{root() / "clip.mov"});
}

TEST_F(FolderListingTest, AFolderOfSubfoldersOnlyListsNoFiles) {
    fs::create_directory(root() / "One");
    fs::create_directory(root() / "Two");
    EXPECT_TRUE(listing().empty());
}

TEST_F(FolderListingTest, CountsLinksToFilesAsFiles) {
    const fs::path file = makeFile("clip.mov");
    fs::create_directory(root() / "Sub");
    fs::create_symlink(file, root() / "link.mov");
    fs::create_symlink(root() / "Sub", root() / "folder-link");
    fs::create_symlink(root() / "missing.mov", root() / "dangling.mov");
    EXPECT_EQ(listing(), (std::vector<fs::path>{root() / "clip.mov", root() / "link.mov"}));
}

TEST_F(FolderListingTest, ListsHiddenFilesToo) {
    makeFile(".hidden", "clip.mov\n");
    makeFile(".profile");
    makeFile("clip.mov");
    EXPECT_EQ(listing(),
              (std::vector<fs::path>{root() / ".hidden", root() / ".profile", root() / "clip.mov"}));
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

TEST_F(FolderListingTest, NamesStartingWithADotAreInvisible) {
    EXPECT_TRUE(isInvisible(root() / ".profile"));
    EXPECT_TRUE(isInvisible(root() / ".config/"));
    EXPECT_FALSE(isInvisible(makeFile("clip.mov")));
    EXPECT_FALSE(isInvisible(root() / "not.hidden"));
}

TEST_F(FolderListingTest, NamesListedInTheFoldersHiddenFileAreInvisible) {
    makeFile(".hidden", "secret.mov\r\nPrivate\n\n\xff-raw.mov");
    EXPECT_TRUE(isInvisible(root() / "secret.mov"));
    EXPECT_TRUE(isInvisible(root() / "Private"));
    EXPECT_TRUE(isInvisible(root() / "Private/"));
    EXPECT_TRUE(isInvisible(root() / "\xff-raw.mov"));
    EXPECT_FALSE(isInvisible(root() / "secret"));
    EXPECT_FALSE(isInvisible(root() / "secret.mov.bak"));
    EXPECT_FALSE(isInvisible(root() / "clip.mov"));
}

TEST_F(FolderListingTest, TheHiddenFileOfAnotherFolderDoesNotCount) {
    fs::create_directory(root() / "Sub");
    makeFile(".hidden", "clip.mov\n");
    EXPECT_FALSE(isInvisible(root() / "Sub" / "clip.mov"));
}

TEST_F(FolderListingTest, AHiddenFileThatIsAFolderHidesNothing) {
    fs::create_directory(root() / ".hidden");
    EXPECT_FALSE(isInvisible(root() / "clip.mov"));
}

} // namespace
