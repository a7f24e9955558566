#include "platform/FileReference.h"

#include <QByteArray>
#include <QTemporaryDir>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace {

namespace fs = std::filesystem;
using platform::getAlias;
using platform::stringWithAlias;

// The field layout documented in FileReference.h, read back as another
// program would, so tests can damage one field of a real block.
constexpr int kHeaderSize = 9;

std::uint32_t readU32(const QByteArray& data, qsizetype at) {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value |= std::uint32_t{static_cast<unsigned char>(data[at + i])} << (8 * i);
    return value;
}

void writeU32(QByteArray& data, qsizetype at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        data[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// The offset of the payload of the field with tag, or none.
std::optional<qsizetype> payloadOffset(const QByteArray& data, std::uint8_t tag) {
    qsizetype at = kHeaderSize;
    while (at + 5 <= data.size()) {
        const std::uint32_t length = readU32(data, at + 1);
        if (static_cast<std::uint8_t>(data[at]) == tag)
            return at + 5;
        at += 5 + length;
    }
    return std::nullopt;
}

// data with one field's payload replaced (the sizes adjusted).
QByteArray withPayload(QByteArray data, std::uint8_t tag, const QByteArray& payload) {
    const auto at = payloadOffset(data, tag);
    EXPECT_TRUE(at.has_value());
    if (!at)
        return data;
    const std::uint32_t length = readU32(data, *at - 4);
    data.replace(*at, length, payload);
    writeU32(data, *at - 4, static_cast<std::uint32_t>(payload.size()));
    writeU32(data, 5, static_cast<std::uint32_t>(data.size() - kHeaderSize));
    return data;
}

QByteArray withField(QByteArray data, std::uint8_t tag, const QByteArray& payload) {
    data.append(static_cast<char>(tag));
    QByteArray length(4, '\0');
    writeU32(length, 0, static_cast<std::uint32_t>(payload.size()));
    data.append(length).append(payload);
    writeU32(data, 5, static_cast<std::uint32_t>(data.size() - kHeaderSize));
    return data;
}

constexpr std::uint8_t kPathTag = 1;
constexpr std::uint8_t kInodeTag = 3;
constexpr std::uint8_t kTypeTag = 4;
constexpr std::uint8_t kBornTag = 7;

class FileReferenceTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_folder.isValid()); }

    fs::path root() const { return fs::path(m_folder.path().toStdString()); }

    fs::path makeFile(const fs::path& relative, const std::string& contents = "data") const {
        const fs::path path = root() / relative;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << contents;
        return path;
    }

    fs::path makeFolder(const fs::path& relative) const {
        const fs::path path = root() / relative;
        fs::create_directories(path);
        return path;
    }

    static std::string contentsOf(const fs::path& path) {
        std::ifstream file(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }

    QTemporaryDir m_folder;
};

// ---- Making reference data ----

TEST_F(FileReferenceTest, NothingAtThePathMakesNoData) {
    EXPECT_TRUE(getAlias(root() / "missing").isEmpty());
    EXPECT_TRUE(getAlias(fs::path()).isEmpty());
}

TEST_F(FileReferenceTest, DataStartsWithMagicAndVersion) {
    const QByteArray data = getAlias(makeFile("a.mov"));
    ASSERT_GE(data.size(), kHeaderSize);
    EXPECT_EQ(data.left(5), QByteArray("JCFR\x01", 5));
    EXPECT_EQ(readU32(data, 5), static_cast<std::uint32_t>(data.size() - kHeaderSize));
}

TEST_F(FileReferenceTest, RecordsTheAbsoluteLexicallyNormalPath) {
    const fs::path file = makeFile("a/clip.mov");
    makeFolder("b");
    const QByteArray data = getAlias(root() / "b" / ".." / "a" / "." / "clip.mov");
    const auto at = payloadOffset(data, kPathTag);
    ASSERT_TRUE(at.has_value());
    EXPECT_EQ(data.mid(*at, readU32(data, *at - 4)).toStdString(), file.native());
    EXPECT_EQ(stringWithAlias(data), file);
}

TEST_F(FileReferenceTest, KeepsASymbolicLinkAtTheEndOfThePath) {
    const fs::path file = makeFile("target.mov");
    const fs::path link = root() / "link.mov";
    fs::create_symlink(file, link);
    EXPECT_EQ(stringWithAlias(getAlias(link)), link);
}

TEST_F(FileReferenceTest, AFolderPathWithATrailingSlashNamesTheFolder) {
    const fs::path folder = makeFolder("Movies");
    EXPECT_EQ(stringWithAlias(getAlias(folder.native() + "/")), folder);
}

// ---- Following files ----

TEST_F(FileReferenceTest, AFileInPlaceResolvesToItsPath) {
    const fs::path file = makeFile("clip.mov");
    EXPECT_EQ(stringWithAlias(getAlias(file)), file);
}

TEST_F(FileReferenceTest, FollowsAFileRenamedInItsFolder) {
    const fs::path file = makeFile("Movies/clip.mov");
    const QByteArray data = getAlias(file);
    const fs::path renamed = root() / "Movies" / "holiday.mov";
    fs::rename(file, renamed);
    EXPECT_EQ(stringWithAlias(data), renamed);
}

TEST_F(FileReferenceTest, FollowsAFileMovedToAnotherFolder) {
    const fs::path file = makeFile("Movies/clip.mov");
    makeFile("Movies/other.mov");
    const QByteArray data = getAlias(file);
    const fs::path moved = makeFolder("Archive/2024") / "clip.mov";
    fs::rename(file, moved);
    EXPECT_EQ(stringWithAlias(data), moved);
}

TEST_F(FileReferenceTest, FollowsAFileMovedIntoASubfolder) {
    const fs::path file = makeFile("Movies/clip.mov");
    const QByteArray data = getAlias(file);
    const fs::path moved = makeFolder("Movies/Done/Old") / "renamed.mov";
    fs::rename(file, moved);
    EXPECT_EQ(stringWithAlias(data), moved);
}

TEST_F(FileReferenceTest, FollowsTheFileWhenItsFolderIsRenamed) {
    const fs::path file = makeFile("Movies/clip.mov");
    const QByteArray data = getAlias(file);
    fs::rename(root() / "Movies", root() / "Films");
    EXPECT_EQ(stringWithAlias(data), root() / "Films" / "clip.mov");
}

TEST_F(FileReferenceTest, FollowsTheFileWhenItsFolderMovesUpAndAway) {
    const fs::path file = makeFile("Work/Project/Movies/clip.mov");
    const QByteArray data = getAlias(file);
    makeFolder("Elsewhere");
    fs::rename(root() / "Work" / "Project" / "Movies", root() / "Elsewhere" / "Films");
    EXPECT_EQ(stringWithAlias(data), root() / "Elsewhere" / "Films" / "clip.mov");
}

TEST_F(FileReferenceTest, FollowsAFileRenamedTogetherWithItsFolder) {
    const fs::path file = makeFile("Movies/clip.mov");
    const QByteArray data = getAlias(file);
    fs::rename(file, root() / "Movies" / "renamed.mov");
    fs::rename(root() / "Movies", root() / "Films");
    EXPECT_EQ(stringWithAlias(data), root() / "Films" / "renamed.mov");
}

TEST_F(FileReferenceTest, AGoneFileResolvesToNothing) {
    const fs::path file = makeFile("Movies/clip.mov");
    makeFile("Movies/other.mov");
    const QByteArray data = getAlias(file);
    fs::remove(file);
    EXPECT_EQ(stringWithAlias(data), std::nullopt);
}

TEST_F(FileReferenceTest, AFileGoneWithItsFolderResolvesToNothing) {
    const fs::path file = makeFile("Movies/clip.mov");
    const QByteArray data = getAlias(file);
    fs::remove_all(root() / "Movies");
    EXPECT_EQ(stringWithAlias(data), std::nullopt);
}

// ---- Another item at the recorded path ----

TEST_F(FileReferenceTest, TheMovedOriginalWinsOverANewFileAtItsPath) {
    const fs::path file = makeFile("clip.mov", "original");
    const QByteArray data = getAlias(file);
    const fs::path moved = root() / "clip-old.mov";
    fs::rename(file, moved);
    makeFile("clip.mov", "replacement");
    EXPECT_EQ(stringWithAlias(data), moved);
}

TEST_F(FileReferenceTest, ANewFileAtThePathStandsInForADeletedOriginal) {
    // As a program that saves by writing a new file and renaming it over the old one.
    const fs::path file = makeFile("clip.mov", "version 1");
    const QByteArray data = getAlias(file);
    const fs::path saved = makeFile("clip.mov.tmp", "version 2");
    fs::rename(saved, file);
    const auto resolved = stringWithAlias(data);
    ASSERT_EQ(resolved, file);
    EXPECT_EQ(contentsOf(*resolved), "version 2");
}

TEST_F(FileReferenceTest, AFolderAtTheOldPathOfADeletedFileDoesNotStandIn) {
    const fs::path file = makeFile("clip.mov");
    const QByteArray data = getAlias(file);
    fs::remove(file);
    fs::create_directory(file);
    EXPECT_EQ(stringWithAlias(data), std::nullopt);
}

TEST_F(FileReferenceTest, AnItemOfAnotherTypeWithTheRecordedInodeIsNotTheFile) {
    const fs::path file = makeFile("clip.mov");
    const QByteArray data = withPayload(getAlias(file), kTypeTag, QByteArray(1, '\x02'));
    fs::rename(file, root() / "renamed.mov");
    EXPECT_EQ(stringWithAlias(data), std::nullopt);
}

TEST_F(FileReferenceTest, AFileBornAtAnotherTimeIsNotTheRecordedOne) {
    // A newer file that got the recorded inode number after the original was deleted.
    const fs::path file = makeFile("clip.mov");
    const QByteArray real = getAlias(file);
    const auto born = payloadOffset(real, kBornTag);
    if (!born)
        GTEST_SKIP() << "the file system keeps no birth times";
    QByteArray otherBirth = real.mid(*born, 12);
    otherBirth[0] = static_cast<char>(otherBirth[0] ^ 0x55);
    const QByteArray data = withPayload(real, kBornTag, otherBirth);
    fs::rename(file, root() / "renamed.mov");
    EXPECT_EQ(stringWithAlias(real), root() / "renamed.mov");
    EXPECT_EQ(stringWithAlias(data), std::nullopt);
}

// ---- Folders ----

TEST_F(FileReferenceTest, AFolderInPlaceResolvesToItsPath) {
    const fs::path folder = makeFolder("Movies");
    EXPECT_EQ(stringWithAlias(getAlias(folder)), folder);
}

TEST_F(FileReferenceTest, FollowsARenamedFolder) {
    const fs::path folder = makeFolder("Movies");
    makeFile("Movies/clip.mov");
    const QByteArray data = getAlias(folder);
    fs::rename(folder, root() / "Films");
    EXPECT_EQ(stringWithAlias(data), root() / "Films");
}

TEST_F(FileReferenceTest, FollowsAFolderMovedIntoAnother) {
    const fs::path folder = makeFolder("Output");
    const QByteArray data = getAlias(folder);
    const fs::path moved = makeFolder("Projects/2024") / "Output";
    fs::rename(folder, moved);
    EXPECT_EQ(stringWithAlias(data), moved);
}

TEST_F(FileReferenceTest, AFileAtTheOldPathOfADeletedFolderDoesNotStandIn) {
    const fs::path folder = makeFolder("Output");
    const QByteArray data = getAlias(folder);
    fs::remove(folder);
    makeFile("Output");
    EXPECT_EQ(stringWithAlias(data), std::nullopt);
}

TEST_F(FileReferenceTest, ANewFolderAtTheOldPathStandsInForADeletedOne) {
    const fs::path folder = makeFolder("Output");
    const QByteArray data = getAlias(folder);
    fs::remove(folder);
    makeFile("Output/kept.mov");
    EXPECT_EQ(stringWithAlias(data), folder);
}

// ---- Blocks that are not reference data ----

TEST_F(FileReferenceTest, RefusesEmptyAndShortBlocks) {
    EXPECT_EQ(stringWithAlias(QByteArray()), std::nullopt);
    EXPECT_EQ(stringWithAlias(QByteArray("JCFR")), std::nullopt);
    EXPECT_EQ(stringWithAlias(QByteArray("JCFR\x01", 5)), std::nullopt);
}

TEST_F(FileReferenceTest, RefusesEveryTruncationAndAnyExtension) {
    const QByteArray data = getAlias(makeFile("clip.mov"));
    for (qsizetype size = 0; size < data.size(); ++size)
        EXPECT_EQ(stringWithAlias(data.left(size)), std::nullopt) << "cut to " << size << " bytes";
    EXPECT_EQ(stringWithAlias(data + QByteArray(1, '\0')), std::nullopt);
}

TEST_F(FileReferenceTest, RefusesAnotherMagicOrVersion) {
    const QByteArray data = getAlias(makeFile("clip.mov"));
    QByteArray magic = data;
    magic[0] = 'X';
    EXPECT_EQ(stringWithAlias(magic), std::nullopt);
    for (const char version : {'\0', '\x02', '\xff'}) {
        QByteArray other = data;
        other[4] = version;
        EXPECT_EQ(stringWithAlias(other), std::nullopt);
    }
}

TEST_F(FileReferenceTest, RefusesAFieldLongerThanTheBlock) {
    QByteArray data = getAlias(makeFile("clip.mov"));
    const auto path = payloadOffset(data, kPathTag);
    ASSERT_TRUE(path.has_value());
    writeU32(data, *path - 4, 0xFFFFFFFFu);
    EXPECT_EQ(stringWithAlias(data), std::nullopt);
}

TEST_F(FileReferenceTest, RefusesMalformedFields) {
    const QByteArray data = getAlias(makeFile("clip.mov"));
    EXPECT_EQ(stringWithAlias(withPayload(data, kInodeTag, QByteArray(7, '\0'))), std::nullopt);
    EXPECT_EQ(stringWithAlias(withPayload(data, kTypeTag, QByteArray(1, '\x09'))), std::nullopt);
    EXPECT_EQ(stringWithAlias(withPayload(data, kPathTag, "relative/clip.mov")), std::nullopt);
    EXPECT_EQ(stringWithAlias(withPayload(data, kPathTag, QByteArray("/tmp/a\0b", 8))), std::nullopt);
    EXPECT_EQ(stringWithAlias(withPayload(data, kPathTag, "/" + QByteArray(5000, 'a'))), std::nullopt);
    EXPECT_EQ(stringWithAlias(withField(data, kInodeTag, QByteArray(8, '\0'))), std::nullopt);
}

TEST_F(FileReferenceTest, RefusesBlocksWithoutTheRequiredFields) {
    QByteArray header("JCFR\x01\0\0\0\0", 9);
    EXPECT_EQ(stringWithAlias(header), std::nullopt);
    EXPECT_EQ(stringWithAlias(withField(header, kPathTag, "/")), std::nullopt);
}

TEST_F(FileReferenceTest, RefusesAnOversizedBlock) {
    const QByteArray data = getAlias(makeFile("clip.mov"));
    EXPECT_EQ(stringWithAlias(withField(data, 200, QByteArray(70 * 1024, 'x'))), std::nullopt);
}

TEST_F(FileReferenceTest, SkipsFieldsOfLaterWriters) {
    const fs::path file = makeFile("clip.mov");
    const QByteArray data = withField(getAlias(file), 42, "from a later version");
    EXPECT_EQ(stringWithAlias(data), file);
}

} // namespace
