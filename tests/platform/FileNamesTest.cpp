#include "platform/FileNames.h"

#include "TestFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace {

namespace fs = std::filesystem;
using platform::AddNameExtensionIfMissing;
using platform::CopyNameExtension;
using testing_support::contentsOf;

TEST(FileNamesTest, ExtensionIsTheTextAfterTheLastDotOfTheName) {
    const struct {
        const char* path;
        const char* extension; // nullptr: none
    } names[] = {
        {"/movies/Holiday.mov", "mov"},
        {"/movies/archive.tar.gz", "gz"},
        {"/movies/Holiday.MOV", "MOV"},
        {"/movies/Holiday", nullptr},
        {"/movies/notes.", nullptr},
        {"/movies.d/Holiday", nullptr}, // a dot in a folder name is no extension
        {"/home/.profile", nullptr},    // a leading dot belongs to the name
        {"/home/.clip.mov", "mov"},
    };
    for (const auto& name : names) {
        const auto extension = name.extension ? std::optional(QString(name.extension)) : std::nullopt;
        EXPECT_EQ(CopyNameExtension(name.path), extension) << name.path;
    }
}

class AddNameExtensionTest : public ::testing::Test {
protected:
    const fs::path& root() const { return m_folder.path(); }
    fs::path makeFile(const std::string& name, const std::string& contents = "data") const {
        return m_folder.write(name, contents);
    }

    const testing_support::TestFolder m_folder;
};

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
    for (const auto& rename : renames) {
        const fs::path file = makeFile(rename.name, rename.name);
        const auto renamed = AddNameExtensionIfMissing(file, QString(rename.extension));
        ASSERT_EQ(renamed, root() / rename.renamed) << rename.name;
        EXPECT_FALSE(fs::exists(file));
        EXPECT_EQ(contentsOf(*renamed), rename.name);
    }
}

TEST_F(AddNameExtensionTest, LeavesAloneWhatItMustNotRename) {
    const fs::path withExtension = makeFile("Holiday.mp4");
    EXPECT_EQ(AddNameExtensionIfMissing(withExtension, QStringLiteral(".mov")), std::nullopt);
    EXPECT_FALSE(fs::exists(root() / "Holiday.mp4.mov"));
    EXPECT_EQ(AddNameExtensionIfMissing(root() / "missing", QStringLiteral(".mov")), std::nullopt);
    EXPECT_FALSE(fs::exists(root() / "missing.mov"));

    const fs::path file = makeFile("Holiday", "new");
    const fs::path taken = makeFile("Holiday.mov", "old");
    EXPECT_EQ(AddNameExtensionIfMissing(file, QStringLiteral(".mov")), std::nullopt) << "never replaces";
    EXPECT_EQ(contentsOf(file), "new");
    EXPECT_EQ(contentsOf(taken), "old");

    fs::create_directory(root() / "sub");
    EXPECT_EQ(AddNameExtensionIfMissing(file, QStringLiteral("/../sub/x")), std::nullopt) << "would move it";
    EXPECT_EQ(AddNameExtensionIfMissing(file, QString()), std::nullopt);
    EXPECT_TRUE(fs::exists(file) && fs::exists(withExtension));
}

TEST_F(AddNameExtensionTest, APathLongerThan255BytesIsLeftAlone) {
    // A folder name that makes the file's path exactly 256 bytes long.
    const std::size_t used = root().native().size() + 1 + 1 + std::string("clip").size();
    ASSERT_LT(used, 256u);
    const fs::path folder = root() / std::string(256 - used, 'f');
    const fs::path file = m_folder.write(folder / "clip");
    ASSERT_EQ(file.native().size(), 256u);
    EXPECT_EQ(AddNameExtensionIfMissing(file, QStringLiteral(".mov")), std::nullopt);
    EXPECT_TRUE(fs::exists(file));

    EXPECT_EQ(AddNameExtensionIfMissing(m_folder.write(folder / "cli"), QStringLiteral(".mov")),
              folder / "cli.mov");
}

} // namespace
