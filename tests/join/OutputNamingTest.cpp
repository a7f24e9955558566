// Names of written files: the joined movie's default name, and where the per-file export writes
// (never over the file it reads).

#include "join/OutputNaming.h"

#include "FileContents.h"
#include "join/ExportDestination.h"

#include <QTemporaryDir>
#include <QTimeZone>
#include <fstream>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using join::defaultFilename;

// A taken name gets a time stamp.
TEST(OutputNamingTest, ATakenDefaultNameGetsATimeStampRatherThanBeingOverwritten) {
    EXPECT_EQ(join::defaultFilenameWithSaveCount(std::nullopt, ".mov"), "Untitled.mov");
    QTemporaryDir dir;
    const fs::path folder = dir.path().toStdString();
    EXPECT_FALSE(defaultFilename(std::nullopt, QString("Holiday and 3 others"), ".mov"));
    const auto first = defaultFilename(folder, QString("Holiday and 3 others"), ".mov");
    ASSERT_TRUE(first);
    EXPECT_EQ(*first, folder / "Holiday and 3 others.mov");
    EXPECT_EQ(*defaultFilename(folder, std::nullopt, ".mov"), folder / "Untitled.mov");
    std::ofstream(*first) << "joined before";
    const QDateTime when(QDate(2026, 12, 6), QTime(17, 52, 1), QTimeZone(3600));
    EXPECT_EQ(*defaultFilename(folder, QString("Holiday and 3 others"), ".mov", when),
              folder / "Holiday and 3 others-[2026-12-06 17.52.01 +0100].mov");
}

TEST(ExportDestinationTest, AppendsTheExtensionAndNeverNamesTheSource) {
    QTemporaryDir temporary;
    const fs::path dir = temporary.path().toStdString();
    const fs::path source = dir / "clip.avi";
    std::ofstream(source) << "movie";
    EXPECT_EQ(join::exportDestination(dir / "out", source, ".mp4"), dir / "out" / "clip.avi.mp4");
    // No extension, same folder: the name would be the source's own.
    EXPECT_EQ(join::exportDestination(dir, source, ""), dir / "clip (exported).avi");
    // The same folder by another path, and a link to the source, are the source too.
    EXPECT_EQ(join::exportDestination(dir / ".", source, ""), dir / "." / "clip (exported).avi");
    fs::create_directory(dir / "links");
    fs::create_symlink(source, dir / "links" / "clip.avi.mov");
    EXPECT_EQ(join::exportDestination(dir / "links", source, ".mov"),
              dir / "links" / "clip (exported).avi.mov");
    // Another folder's file of the same name is not the source.
    EXPECT_EQ(join::exportDestination(dir / "out", source, ""), dir / "out" / "clip.avi");
}

// A reservation is an empty file at the name and nothing else there, gone
// with the reservation; a taken name is refused and left as it was.
TEST(ReservedNameTest, IsAnEmptyFileAtTheFreeNameAloneAndNeverReplacesOne) {
    QTemporaryDir temporary;
    const fs::path dir = temporary.path().toStdString();
    std::ofstream(dir / "taken.mov") << "the user's";
    const auto refused = join::ReservedName::reserve(dir / "taken.mov");
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().code, EEXIST) << "so that the next candidate name is tried";
    EXPECT_EQ(join::ReservedName::reserve(dir / "no folder" / "x.mov").error().code, ENOENT) << "the reason is kept";
    {
        const auto reserved = join::ReservedName::reserve(dir / "free.mov");
        ASSERT_TRUE(reserved);
        EXPECT_EQ(testing_support::namesIn(dir), (std::vector<std::string>{"free.mov", "taken.mov"}));
        EXPECT_EQ(fs::file_size(dir / "free.mov"), 0u);
    }
    EXPECT_EQ(testing_support::namesIn(dir), std::vector<std::string>{"taken.mov"});
    EXPECT_EQ(testing_support::contentsOf(dir / "taken.mov"), "the user's");
}

} // namespace
