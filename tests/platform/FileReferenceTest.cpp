#include "platform/FileReference.h"

#include "TestFolder.h"

#include <QtEndian>
#include <gtest/gtest.h>
#include <sstream>

namespace {

namespace fs = std::filesystem;
using platform::getAlias;
using platform::stringWithAlias;

// The field layout documented in FileReference.h, read back as another
// program would, so tests can damage one field of a real block.
constexpr int kHeaderSize = 9;
constexpr std::uint8_t kPathTag = 1;
constexpr std::uint8_t kInodeTag = 3;
constexpr std::uint8_t kTypeTag = 4;
constexpr std::uint8_t kBornTag = 7;

std::uint32_t readU32(const QByteArray& data, qsizetype at) {
    return qFromLittleEndian<std::uint32_t>(data.constData() + at);
}
void writeU32(QByteArray& data, qsizetype at, std::uint32_t value) {
    qToLittleEndian(value, data.data() + at);
}

// The offset of the payload of the field with tag, or none.
std::optional<qsizetype> payloadOffset(const QByteArray& data, std::uint8_t tag) {
    for (qsizetype at = kHeaderSize; at + 5 <= data.size(); at += 5 + readU32(data, at + 1)) {
        if (static_cast<std::uint8_t>(data[at]) == tag)
            return at + 5;
    }
    return std::nullopt;
}

// data with one field's payload replaced, or with a field appended (the sizes adjusted).
QByteArray withPayload(QByteArray data, std::uint8_t tag, const QByteArray& payload) {
    const qsizetype at = payloadOffset(data, tag).value(); // throws, failing the test, when absent
    data.replace(at, readU32(data, at - 4), payload);
    writeU32(data, at - 4, static_cast<std::uint32_t>(payload.size()));
    writeU32(data, 5, static_cast<std::uint32_t>(data.size() - kHeaderSize));
    return data;
}
QByteArray withField(QByteArray data, std::uint8_t tag, const QByteArray& payload) {
    data.append(static_cast<char>(tag)).append(QByteArray(4, '\0')).append(payload);
    writeU32(data, data.size() - payload.size() - 4, static_cast<std::uint32_t>(payload.size()));
    writeU32(data, 5, static_cast<std::uint32_t>(data.size() - kHeaderSize));
    return data;
}

// before and after: changes to the tree under the test folder, separated by
// spaces: "+a/b" makes a file (with its folders), "+a/" a folder, "-a" removes
// a with what it holds, "a>b" renames a to b.
struct Following final {
    const char* name;
    const char* before;
    const char* referenced;
    const char* after;
    const char* resolvesTo; // nullptr: to nothing
};

class FileReferenceTest : public ::testing::Test {
protected:
    const fs::path& root() const { return m_folder.path(); }
    fs::path makeFile(const fs::path& relative) const { return m_folder.write(relative); }
    void apply(const std::string& changes) const {
        std::istringstream words(changes);
        for (std::string word; words >> word;) {
            const std::size_t arrow = word.find('>');
            if (arrow != std::string::npos)
                fs::rename(root() / word.substr(0, arrow), root() / word.substr(arrow + 1));
            else if (word.starts_with('-'))
                fs::remove_all(root() / word.substr(1));
            else if (word.ends_with('/'))
                fs::create_directories(root() / word.substr(1));
            else
                makeFile(word.substr(1));
        }
    }
    const testing_support::TestFolder m_folder;
};

class FollowingTest : public FileReferenceTest, public ::testing::WithParamInterface<Following> {};

TEST_P(FollowingTest, ResolvesToWhereTheItemIsNow) {
    const auto& [name, before, referenced, after, resolvesTo] = GetParam();
    apply(before);
    const QByteArray data = getAlias(root() / referenced);
    ASSERT_FALSE(data.isEmpty());
    apply(after);
    EXPECT_EQ(stringWithAlias(data), resolvesTo ? std::optional(root() / resolvesTo) : std::nullopt);
}

const Following kFollowings[] = {
    {"FileInPlace", "+clip.mov", "clip.mov", "", "clip.mov"},
    {"FileRenamedInItsFolder", "+Movies/clip.mov", "Movies/clip.mov", "Movies/clip.mov>Movies/holiday.mov",
     "Movies/holiday.mov"},
    {"FileMovedToAnotherFolder", "+Movies/clip.mov +Movies/other.mov", "Movies/clip.mov",
     "+Archive/2024/ Movies/clip.mov>Archive/2024/clip.mov", "Archive/2024/clip.mov"},
    {"FileWhoseFolderIsRenamed", "+Movies/clip.mov", "Movies/clip.mov", "Movies>Films", "Films/clip.mov"},
    {"FileWhoseFolderMovesUpAndAway", "+Work/Project/Movies/clip.mov", "Work/Project/Movies/clip.mov",
     "+Elsewhere/ Work/Project/Movies>Elsewhere/Films", "Elsewhere/Films/clip.mov"},
    {"GoneFile", "+Movies/clip.mov +Movies/other.mov", "Movies/clip.mov", "-Movies/clip.mov", nullptr},
    // Another item at the recorded path: it stands in only when of the recorded type.
    {"MovedOriginalWinsOverANewFileAtItsPath", "+clip.mov", "clip.mov", "clip.mov>clip-old.mov +clip.mov",
     "clip-old.mov"},
    // As a program that saves by writing a new file and renaming it over the old one.
    {"NewFileAtThePathStandsInForADeletedOriginal", "+clip.mov", "clip.mov",
     "+clip.mov.tmp clip.mov.tmp>clip.mov", "clip.mov"},
    {"FolderAtTheOldPathOfADeletedFileDoesNotStandIn", "+clip.mov", "clip.mov", "-clip.mov +clip.mov/",
     nullptr},
    {"FolderMovedIntoAnother", "+Output/", "Output", "+Projects/2024/ Output>Projects/2024/Output",
     "Projects/2024/Output"},
    {"FileAtTheOldPathOfADeletedFolderDoesNotStandIn", "+Output/", "Output", "-Output +Output", nullptr},
    {"NewFolderAtTheOldPathStandsInForADeletedOne", "+Output/", "Output", "-Output +Output/kept.mov",
     "Output"}};
INSTANTIATE_TEST_SUITE_P(Moves, FollowingTest, ::testing::ValuesIn(kFollowings),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(FileReferenceTest, RecordsThePathAsNamedAndNormal) {
    const fs::path file = makeFile("a/clip.mov");
    fs::create_directory(root() / "b");
    EXPECT_EQ(stringWithAlias(getAlias(root() / "b" / ".." / "a" / "." / "clip.mov")), file);
    fs::create_symlink(file, root() / "link.mov");
    EXPECT_EQ(stringWithAlias(getAlias(root() / "link.mov")), root() / "link.mov")
        << "a link at the end is kept";
    EXPECT_EQ(stringWithAlias(getAlias(root().native() + "/a/")), root() / "a") << "a trailing slash";
    EXPECT_TRUE(getAlias(root() / "missing").isEmpty());
    EXPECT_TRUE(getAlias(fs::path()).isEmpty());
}

TEST_F(FileReferenceTest, AnItemOfAnotherTypeOrBirthWithTheRecordedInodeIsNotTheOne) {
    // A newer item that got the recorded inode number after the original was deleted.
    const fs::path file = makeFile("clip.mov");
    const QByteArray real = getAlias(file);
    fs::rename(file, root() / "renamed.mov");
    EXPECT_EQ(stringWithAlias(real), root() / "renamed.mov");
    EXPECT_EQ(stringWithAlias(withPayload(real, kTypeTag, QByteArray(1, '\x02'))), std::nullopt);
    const auto born = payloadOffset(real, kBornTag);
    if (!born)
        GTEST_SKIP() << "the file system keeps no birth times";
    QByteArray otherBirth = real.mid(*born, 12);
    otherBirth[0] = static_cast<char>(otherBirth[0] ^ 0x55);
    EXPECT_EQ(stringWithAlias(withPayload(real, kBornTag, otherBirth)), std::nullopt);
}

TEST_F(FileReferenceTest, RefusesBlocksThatAreNotReferenceDataAndSkipsFieldsOfLaterWriters) {
    const QByteArray data = getAlias(makeFile("clip.mov"));
    const QByteArray header("JCFR\x01\0\0\0\0", 9);
    QByteArray otherMagic = data;
    otherMagic[0] = 'X';
    QByteArray hugeField = data;
    writeU32(hugeField, *payloadOffset(data, kPathTag) - 4, 0xFFFFFFFFu);
    std::vector<std::pair<std::string, QByteArray>> refused = {
        {"extended", data + QByteArray(1, '\0')},
        {"other magic", otherMagic},
        {"field longer than the block", hugeField},
        {"short inode", withPayload(data, kInodeTag, QByteArray(7, '\0'))},
        {"unknown type", withPayload(data, kTypeTag, QByteArray(1, '\x09'))},
        {"relative path", withPayload(data, kPathTag, "relative/clip.mov")},
        {"NUL in the path", withPayload(data, kPathTag, QByteArray("/tmp/a\0b", 8))},
        {"path too long", withPayload(data, kPathTag, "/" + QByteArray(5000, 'a'))},
        {"inode twice", withField(data, kInodeTag, QByteArray(8, '\0'))},
        {"no fields", header},
        {"path only", withField(header, kPathTag, "/")},
        {"over 64 KiB", withField(data, 200, QByteArray(70 * 1024, 'x'))}};
    for (const char version : {'\0', '\x02', '\xff'}) {
        QByteArray other = data;
        other[4] = version;
        refused.emplace_back("version " + std::to_string(static_cast<unsigned char>(version)), other);
    }
    for (qsizetype size = 0; size < data.size(); ++size)
        refused.emplace_back("cut to " + std::to_string(size) + " bytes", data.left(size));
    for (const auto& [what, block] : refused)
        EXPECT_EQ(stringWithAlias(block), std::nullopt) << what;
    EXPECT_EQ(stringWithAlias(withField(data, 42, "later")), root() / "clip.mov") << "a later writer's field";
}

} // namespace
