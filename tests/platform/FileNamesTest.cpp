#include "platform/FileNames.h"

#include <QFile>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

namespace {

namespace fs = std::filesystem;
using platform::AddNameExtensionIfMissing;
using platform::CopyNameExtension;

TEST(FileNamesTest, ALeadingDotBelongsToTheName) {
    EXPECT_EQ(CopyNameExtension("/home/.profile"), std::nullopt);
    EXPECT_EQ(CopyNameExtension("/home/.clip.mov"), QStringLiteral("mov"));
}

TEST(FileNamesTest, ExtensionIsTheTextAfterTheLastDot) {
    EXPECT_EQ(CopyNameExtension("/movies/Holiday.mov"), QStringLiteral("mov"));
    EXPECT_EQ(CopyNameExtension("/movies/archive.tar.gz"), QStringLiteral("gz"));
    EXPECT_EQ(CopyNameExtension("/movies/Holiday.MOV"), QStringLiteral("MOV"));
    EXPECT_EQ(CopyNameExtension("/movies/Holiday"), std::nullopt);
    EXPECT_EQ(CopyNameExtension("/movies/notes."), std::nullopt);
    EXPECT_EQ(CopyNameExtension("/movies.d/Holiday"), std::nullopt)
        << "a dot in a folder name is no extension";
}

class AddNameExtensionTest : public ::testing::Test {
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

    static std::string contentsOf(const fs::path& path) {
        std::ifstream file(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }

    QTemporaryDir m_folder;
};

TEST_F(AddNameExtensionTest, RenamesAFileWithoutExtension) {
    const fs::path file = makeFile("Holiday", "movie");
    const auto renamed = AddNameExtensionIfMissing(file, QStringLiteral(".mov"));
    ASSERT_EQ(renamed, root() / "Holiday.mov");
    EXPECT_FALSE(fs::exists(file));
    EXPECT_EQ(contentsOf(*renamed), "movie");
}

TEST_F(AddNameExtensionTest, AddsTheDotWhenTheExtensionLacksIt) {
    const fs::path file = makeFile("Holiday");
    EXPECT_EQ(AddNameExtensionIfMissing(file, QStringLiteral("mov")), root() / "Holiday.mov");
}

TEST_F(AddNameExtensionTest, ANameEndingInADotGetsNoSecondDot) {
    const fs::path file = makeFile("notes.");
    EXPECT_EQ(AddNameExtensionIfMissing(file, QStringLiteral(".mov")), root() / "notes.mov");
}

TEST_F(AddNameExtensionTest, ANameWithAnExtensionIsLeftAlone) {
    const fs::path file = makeFile("Holiday.mp4");
    EXPECT_EQ(AddNameExtensionIfMissing(file, QStringLiteral(".mov")), std::nullopt);
    EXPECT_TRUE(fs::exists(file));
    EXPECT_FALSE(fs::exists(root() / "Holiday.mp4.mov"));
}

TEST_F(AddNameExtensionTest, NothingThereAnswersNone) {
    EXPECT_EQ(AddNameExtensionIfMissing(root() / "missing", QStringLiteral(".mov")), std::nullopt);
    EXPECT_FALSE(fs::exists(root() / "missing.mov"));
}

TEST_F(AddNameExtensionTest, NeverReplacesAnItemWithTheNewName) {
    const fs::path file = makeFile("Holiday", "new");
    const fs::path taken = makeFile("Holiday.mov", "old");
    EXPECT_EQ(AddNameExtensionIfMissing(file, QStringLiteral(".mov")), std::nullopt);
    EXPECT_EQ(contentsOf(file), "new");
    EXPECT_EQ(contentsOf(taken), "old");
}

TEST_F(AddNameExtensionTest, APathLongerThan255BytesIsLeftAlone) {
    // A folder name that makes the file's path exactly 256 bytes long.
    const std::size_t used = root().native().size() + 1 + 1 + std::string("clip").size();
    ASSERT_LT(used, 256u);
    const fs::path folder = root() / std::string(256 - used, 'f');
    fs::create_directory(folder);
    const fs::path file = folder / "clip";
    std::ofstream(file) << "data";
    ASSERT_EQ(file.native().size(), 256u);
    EXPECT_EQ(AddNameExtensionIfMissing(file, QStringLiteral(".mov")), std::nullopt);
    EXPECT_TRUE(fs::exists(file));

    const fs::path shorter = folder / "cli";
    std::ofstream(shorter) << "data";
    EXPECT_EQ(AddNameExtensionIfMissing(shorter, QStringLiteral(".mov")), folder / "cli.mov");
}

TEST_F(AddNameExtensionTest, RenamesANameThatIsNotUtf8) {
    const fs::path file = makeFile("caf\xe9");
    EXPECT_EQ(AddNameExtensionIfMissing(file, QStringLiteral(".mov")), root() / "caf\xe9.mov");
}

TEST_F(AddNameExtensionTest, RefusesAnExtensionThatWouldMoveTheFile) {
    const fs::path file = makeFile("Holiday");
    fs::create_directory(root() / "sub");
    EXPECT_EQ(AddNameExtensionIfMissing(file, QStringLiteral("/../sub/x")), std::nullopt);
    EXPECT_EQ(AddNameExtensionIfMissing(file, QString()), std::nullopt);
    EXPECT_TRUE(fs::exists(file));
}

} // namespace
