#include "platform/FolderListing.h"

#include "TestFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using platform::CopyFolderFileRefs;
using platform::isInvisible;

class FolderListingTest : public ::testing::Test {
protected:
    const fs::path& root() const { return m_folder.path(); }
    fs::path makeFile(const std::string& name, const std::string& contents = "data") const {
        return m_folder.write(name, contents);
    }

    std::vector<fs::path> listing() const {
        std::vector<fs::path> list;
        EXPECT_TRUE(CopyFolderFileRefs(root(), list));
        return list;
    }

    const testing_support::TestFolder m_folder;
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
    makeFile("Sub/inner.mov");
    fs::create_symlink(file, root() / "link.mov");
    fs::create_symlink(root() / "Sub", root() / "folder-link");
    fs::create_symlink(root() / "missing.mov", root() / "dangling.mov");
    EXPECT_EQ(listing(), (std::vector<fs::path>{root() / ".hidden", root() / ".profile", root() / "clip.mov",
                                                root() / "link.mov"}));
}

TEST_F(FolderListingTest, AppendsToWhatTheListHoldsOrNothingForWhatCannotBeListed) {
    const fs::path file = makeFile("clip.mov");
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
    EXPECT_FALSE(isInvisible(makeFile("clip.mov")));
    EXPECT_FALSE(isInvisible(root() / "not.hidden"));

    makeFile(".hidden", "secret.mov\r\nPrivate\n\n\xff-raw.mov");
    for (const char* name : {"secret.mov", "Private", "Private/", "\xff-raw.mov"})
        EXPECT_TRUE(isInvisible(root() / name)) << name;
    for (const char* name : {"secret", "secret.mov.bak", "clip.mov"})
        EXPECT_FALSE(isInvisible(root() / name)) << name;
    fs::create_directories(root() / "Sub" / ".hidden");
    EXPECT_FALSE(isInvisible(root() / "Sub" / "secret.mov"))
        << "the hidden file of another folder, or a folder";
}

} // namespace
