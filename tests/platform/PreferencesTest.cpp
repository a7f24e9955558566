#include "platform/Preferences.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QPoint>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUrl>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// A binary property list written by Python's plistlib (an independent
// writer): {big: 2^40, bytes: <00 01 ff>, count: -42, dict: {inner: true},
// flag: true, list: [1, "two", [3.5]], name: "Zoë", off: false, ratio: 1.0,
// when: 2009-07-14 18:03:22 UTC}.
const unsigned char kBinaryPropertyList[] = {
    0x62, 0x70, 0x6c, 0x69, 0x73, 0x74, 0x30, 0x30, 0xda, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08,
    0x09, 0x0a, 0x0b, 0x0c, 0x0d, 0x0e, 0x10, 0x11, 0x16, 0x17, 0x18, 0x19, 0x53, 0x62, 0x69, 0x67, 0x55,
    0x62, 0x79, 0x74, 0x65, 0x73, 0x55, 0x63, 0x6f, 0x75, 0x6e, 0x74, 0x54, 0x64, 0x69, 0x63, 0x74, 0x54,
    0x66, 0x6c, 0x61, 0x67, 0x54, 0x6c, 0x69, 0x73, 0x74, 0x54, 0x6e, 0x61, 0x6d, 0x65, 0x53, 0x6f, 0x66,
    0x66, 0x55, 0x72, 0x61, 0x74, 0x69, 0x6f, 0x54, 0x77, 0x68, 0x65, 0x6e, 0x13, 0x00, 0x00, 0x01, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x43, 0x00, 0x01, 0xff, 0x13, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xd6,
    0xd1, 0x0f, 0x10, 0x55, 0x69, 0x6e, 0x6e, 0x65, 0x72, 0x09, 0xa3, 0x12, 0x13, 0x14, 0x10, 0x01, 0x53,
    0x74, 0x77, 0x6f, 0xa1, 0x15, 0x23, 0x40, 0x0c, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x63, 0x00, 0x5a,
    0x00, 0x6f, 0x00, 0xeb, 0x08, 0x23, 0x3f, 0xf0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x33, 0x41, 0xb0,
    0x0c, 0xff, 0xea, 0x00, 0x00, 0x00, 0x08, 0x1d, 0x21, 0x27, 0x2d, 0x32, 0x37, 0x3c, 0x41, 0x45, 0x4b,
    0x50, 0x59, 0x5d, 0x66, 0x69, 0x6f, 0x70, 0x74, 0x76, 0x7a, 0x7c, 0x85, 0x8c, 0x8d, 0x96, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x1a, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x9f};

void writeBytes(const fs::path& file, const std::string& bytes) {
    std::ofstream output(file, std::ios::binary | std::ios::trunc);
    output << bytes;
}

std::string readBytes(const fs::path& file) {
    std::ifstream input(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(input), {});
}

std::vector<std::string> folderEntries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Same type and value all the way down (QVariant's == takes 1 and 1.0 as equal).
void expectSameValue(const QVariant& expected, const QVariant& actual, const QString& where) {
    ASSERT_EQ(expected.metaType(), actual.metaType()) << where.toStdString();
    if (expected.metaType().id() == QMetaType::QVariantList) {
        const QVariantList left = expected.toList();
        const QVariantList right = actual.toList();
        ASSERT_EQ(left.size(), right.size()) << where.toStdString();
        for (qsizetype index = 0; index < left.size(); ++index) {
            expectSameValue(left[index], right[index], where + "[" + QString::number(index) + "]");
        }
    } else if (expected.metaType().id() == QMetaType::QVariantMap) {
        const QVariantMap left = expected.toMap();
        const QVariantMap right = actual.toMap();
        ASSERT_EQ(left.keys(), right.keys()) << where.toStdString();
        for (auto entry = left.cbegin(); entry != left.cend(); ++entry) {
            expectSameValue(entry.value(), right.value(entry.key()), where + "." + entry.key());
        }
    } else {
        EXPECT_EQ(expected, actual) << where.toStdString();
    }
}

class PreferencesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_folder.isValid());
        m_root = fs::path(m_folder.path().toStdString());
        m_file = m_root / "JoinClip" / "preferences.plist";
    }

    // Writes bytes as the preferences file (creating its folder).
    void writePreferencesFile(const std::string& bytes) {
        fs::create_directories(m_file.parent_path());
        writeBytes(m_file, bytes);
    }

    QTemporaryDir m_folder;
    fs::path m_root;
    fs::path m_file;
};

TEST_F(PreferencesTest, EveryTypeSurvivesARestartExactly) {
    QVariantMap nested{{"depth", QVariantMap{{"flag", false}, {"list", QVariantList{qint64(1), 2.0}}}}};
    const QDateTime when(QDate(2009, 7, 14), QTime(18, 3, 22), Qt::UTC);
    const QList<std::pair<QString, QVariant>> values = {
        {"true", true},
        {"false", false},
        {"zero", qint64(0)},
        {"negative", qint64(-42)},
        {"largest", std::numeric_limits<qint64>::max()},
        {"smallest", std::numeric_limits<qint64>::min()},
        {"whole double", 1.0},
        {"fraction", 0.1},
        {"tiny", 5e-324},
        {"negative double", -1234.5},
        {"text", QString("Zoë – 日本 😀 <&>\"' ]]>")},
        {"controls", QString("tab\tline\nreturn\r\x01\x1f"
                             " end")},
        {"blanks", QString("  padded  ")},
        {"empty text", QString("")},
        {"bytes", QByteArray("\x00\x01\xfe\xff", 4)},
        {"empty bytes", QByteArray()},
        {"date", when},
        {"list", QVariantList{true, qint64(7), 7.0, QString("seven"), QByteArray("7"), QVariantList{}}},
        {"empty list", QVariantList{}},
        {"dictionary", nested},
        {"empty dictionary", QVariantMap{}},
        {"key with / and \\ and = [brackets]", QString("slashes are plain characters")},
    };
    {
        platform::Preferences preferences(m_file);
        for (const auto& [key, value] : values) {
            ASSERT_TRUE(preferences.setValue(key, value)) << key.toStdString();
        }
        ASSERT_TRUE(preferences.synchronize());
    }
    platform::Preferences reopened(m_file);
    EXPECT_EQ(reopened.keys().size(), values.size());
    for (const auto& [key, value] : values) {
        ASSERT_TRUE(reopened.contains(key)) << key.toStdString();
        expectSameValue(value, reopened.value(key), key);
    }
}

TEST_F(PreferencesTest, AbsentKeyDiffersFromFalse) {
    {
        platform::Preferences preferences(m_file);
        preferences.setValue("off", false);
    } // the destructor writes
    platform::Preferences reopened(m_file);
    EXPECT_TRUE(reopened.contains("off"));
    EXPECT_EQ(reopened.value("off").metaType().id(), QMetaType::Bool);
    EXPECT_FALSE(reopened.value("off").toBool());
    EXPECT_FALSE(reopened.contains("missing"));
    EXPECT_FALSE(reopened.value("missing").isValid());
}

TEST_F(PreferencesTest, StoresValuesInTheFormTheyReadBackIn) {
    platform::Preferences preferences(m_file);
    ASSERT_TRUE(preferences.setValue("int", 5));
    ASSERT_TRUE(preferences.setValue("unsigned", 7u));
    ASSERT_TRUE(preferences.setValue("float", 1.5f));
    ASSERT_TRUE(preferences.setValue("negative zero", -0.0));
    ASSERT_TRUE(preferences.setValue("strings", QStringList{"a", "b"}));
    ASSERT_TRUE(preferences.setValue("hash", QVariantHash{{"k", 1}}));
    ASSERT_TRUE(preferences.setValue(
        "date", QDateTime(QDate(2009, 7, 14), QTime(20, 3, 22, 999), Qt::OffsetFromUTC, 7200)));
    EXPECT_EQ(preferences.value("int").metaType().id(), QMetaType::LongLong);
    EXPECT_EQ(preferences.value("unsigned").toLongLong(), 7);
    EXPECT_EQ(preferences.value("float").metaType().id(), QMetaType::Double);
    EXPECT_FALSE(std::signbit(preferences.value("negative zero").toDouble())) << "the XML form has no -0";
    EXPECT_EQ(preferences.value("strings").metaType().id(), QMetaType::QVariantList);
    expectSameValue(QVariantMap{{"k", qint64(1)}}, preferences.value("hash"), "hash");
    EXPECT_EQ(preferences.value("date").toDateTime(),
              QDateTime(QDate(2009, 7, 14), QTime(18, 3, 22), Qt::UTC))
        << "UTC, whole seconds";
}

TEST_F(PreferencesTest, RefusesValuesWithoutAPropertyListForm) {
    platform::Preferences preferences(m_file);
    ASSERT_TRUE(preferences.setValue("kept", QString("before")));
    const QList<QVariant> refused = {
        QVariant(),
        QVariant(QUrl("https://example.com")),
        QVariant(QPoint(1, 2)),
        QVariant(std::numeric_limits<quint64>::max()),
        QVariant(QString::fromUtf8("nul\0inside", 10)),
        QVariant(QVariantList{qint64(1), QVariant(QPoint(1, 2))}),
        QVariant(QVariantMap{{QString::fromUtf8("nul\0key", 7), true}}),
        QVariant(QDateTime(QDate(1900, 1, 1), QTime(0, 0), Qt::UTC)),
    };
    for (const QVariant& value : refused) {
        EXPECT_FALSE(preferences.setValue("kept", value)) << value.typeName();
        EXPECT_FALSE(preferences.setValue("new", value)) << value.typeName();
    }
    EXPECT_FALSE(preferences.setValue(QString::fromUtf8("nul\0key", 7), true));
    EXPECT_EQ(preferences.value("kept"), QVariant(QString("before")));
    EXPECT_FALSE(preferences.contains("new"));
}

TEST_F(PreferencesTest, RemovedKeysStayRemovedAfterARestart) {
    {
        platform::Preferences preferences(m_file);
        preferences.setValue("a", true);
        preferences.setValue("b", true);
        ASSERT_TRUE(preferences.synchronize());
        preferences.remove("a");
        preferences.remove("never there");
        ASSERT_TRUE(preferences.synchronize());
    }
    platform::Preferences reopened(m_file);
    EXPECT_EQ(reopened.keys(), QStringList{"b"});
}

TEST_F(PreferencesTest, WritesOnlyWhenSomethingChanged) {
    {
        platform::Preferences untouched(m_file);
        EXPECT_TRUE(untouched.synchronize());
        untouched.remove("absent");
        EXPECT_TRUE(untouched.synchronize());
    }
    EXPECT_FALSE(fs::exists(m_file)) << "nothing to write, so no file";

    platform::Preferences preferences(m_file);
    preferences.setValue("number", qint64(1));
    ASSERT_TRUE(preferences.synchronize());
    fs::remove(m_file);
    preferences.setValue("number", qint64(1)); // the same value: no change
    ASSERT_TRUE(preferences.synchronize());
    EXPECT_FALSE(fs::exists(m_file));
    preferences.setValue("number", 1.0); // a double is a different value
    ASSERT_TRUE(preferences.synchronize());
    EXPECT_TRUE(fs::exists(m_file));
}

TEST_F(PreferencesTest, WritesAtomicallyLeavingNoOtherFiles) {
    platform::Preferences preferences(m_file);
    for (int round = 0; round < 3; ++round) {
        preferences.setValue("round", qint64(round));
        ASSERT_TRUE(preferences.synchronize());
    }
    EXPECT_EQ(folderEntries(m_file.parent_path()), std::vector<std::string>{"preferences.plist"});
    const std::string text = readBytes(m_file);
    EXPECT_NE(text.find("<?xml"), std::string::npos) << "an XML property list";
    EXPECT_NE(text.find("<key>round</key>"), std::string::npos);
}

TEST_F(PreferencesTest, AFailedWriteAnswersFalseAndKeepsTheChanges) {
    writeBytes(m_root / "not a folder", "x");
    platform::Preferences preferences(m_root / "not a folder" / "preferences.plist");
    preferences.setValue("key", true);
    EXPECT_FALSE(preferences.synchronize());
    EXPECT_TRUE(preferences.value("key").toBool());
    fs::remove(m_root / "not a folder");
    EXPECT_TRUE(preferences.synchronize()) << "still pending, written once the folder can be made";
    EXPECT_TRUE(platform::Preferences(m_root / "not a folder" / "preferences.plist").value("key").toBool());
}

TEST_F(PreferencesTest, ReadsABinaryPropertyList) {
    writePreferencesFile(
        std::string(reinterpret_cast<const char*>(kBinaryPropertyList), sizeof kBinaryPropertyList));
    platform::Preferences preferences(m_file);
    EXPECT_FALSE(preferences.setAsideFile());
    expectSameValue(qint64(1) << 40, preferences.value("big"), "big");
    expectSameValue(QByteArray("\x00\x01\xff", 3), preferences.value("bytes"), "bytes");
    expectSameValue(qint64(-42), preferences.value("count"), "count");
    expectSameValue(QVariantMap{{"inner", true}}, preferences.value("dict"), "dict");
    expectSameValue(true, preferences.value("flag"), "flag");
    expectSameValue(QVariantList{qint64(1), QString("two"), QVariantList{3.5}}, preferences.value("list"),
                    "list");
    expectSameValue(QString("Zoë"), preferences.value("name"), "name");
    expectSameValue(false, preferences.value("off"), "off");
    expectSameValue(1.0, preferences.value("ratio"), "ratio");
    expectSameValue(QDateTime(QDate(2009, 7, 14), QTime(18, 3, 22), Qt::UTC), preferences.value("when"),
                    "when");
}

TEST_F(PreferencesTest, ReadsAnXmlPropertyListWrittenElsewhere) {
    writePreferencesFile(R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
<dict>
    <key>whole</key><real>2</real>
    <key>yes</key><true/>
    <key>no</key><false/>
    <key>size</key><integer>-7</integer>
    <key>word</key><string>caf&#233; &amp; more</string>
</dict>
</plist>
)");
    platform::Preferences preferences(m_file);
    expectSameValue(2.0, preferences.value("whole"), "whole");
    expectSameValue(true, preferences.value("yes"), "yes");
    expectSameValue(false, preferences.value("no"), "no");
    expectSameValue(qint64(-7), preferences.value("size"), "size");
    EXPECT_TRUE(preferences.value("word").toString().endsWith(" & more"));
}

// Files that must never stop the application: each leaves the store empty and
// is moved aside before a new file is written.
class BadPreferencesFileTest : public PreferencesTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(BadPreferencesFileTest, StartsEmptyAndSetsTheFileAside) {
    const std::string bad = GetParam();
    writePreferencesFile(bad);
    platform::Preferences preferences(m_file);
    EXPECT_TRUE(preferences.keys().isEmpty());
    EXPECT_FALSE(preferences.value("anything").isValid());
    ASSERT_TRUE(preferences.setAsideFile());
    const fs::path aside = *preferences.setAsideFile();
    EXPECT_EQ(aside.parent_path(), m_file.parent_path());
    EXPECT_TRUE(QRegularExpression(R"(^preferences\.plist\.corrupt-\d{8}-\d{6}(-\d+)?$)")
                    .match(QString::fromStdString(aside.filename().string()))
                    .hasMatch())
        << aside;
    EXPECT_EQ(readBytes(aside), bad);
    EXPECT_FALSE(fs::exists(m_file));

    preferences.setValue("fresh", true);
    ASSERT_TRUE(preferences.synchronize());
    EXPECT_EQ(readBytes(aside), bad) << "the new file never replaces the one set aside";
    EXPECT_TRUE(platform::Preferences(m_file).value("fresh").toBool());
}

std::string deeplyNestedArrays() {
    std::string text = "<plist version=\"1.0\"><dict><key>deep</key>";
    for (int level = 0; level < 1000; ++level) {
        text += "<array>";
    }
    for (int level = 0; level < 1000; ++level) {
        text += "</array>";
    }
    return text + "</dict></plist>";
}

// Python's plistlib writing {"k\u00e9\0y": "v\u00e9\0w"}: UTF-16 texts holding U+0000,
// on which libplist 2.2's getters would abort the program.
std::string binaryListWithNulInTexts() {
    const unsigned char bytes[] = {
        0x62, 0x70, 0x6c, 0x69, 0x73, 0x74, 0x30, 0x30, 0xd1, 0x01, 0x02, 0x64, 0x00, 0x6b, 0x00, 0xe9,
        0x00, 0x00, 0x00, 0x79, 0x64, 0x00, 0x76, 0x00, 0xe9, 0x00, 0x00, 0x00, 0x77, 0x08, 0x0b, 0x14,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x03,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x1d};
    return std::string(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

std::string xmlListWithRawNul() {
    static constexpr char kText[] =
        "<plist version=\"1.0\"><dict><key>a</key><string>c\0d</string></dict></plist>";
    return std::string(kText, sizeof kText - 1);
}

INSTANTIATE_TEST_SUITE_P(
    Files, BadPreferencesFileTest,
    ::testing::Values(std::string("not a property list at all"), std::string(""),
                      std::string("<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>a</key>"),
                      std::string("<plist version=\"1.0\"><array><true/></array></plist>"),
                      std::string("<plist version=\"1.0\"><string>root text</string></plist>"),
                      std::string("bplist00\xff\xff\xff\xff garbage"), deeplyNestedArrays(),
                      binaryListWithNulInTexts(), xmlListWithRawNul()));

TEST_F(PreferencesTest, NeverReplacesAFileSetAsideEarlier) {
    writePreferencesFile("first bad file");
    const std::optional<fs::path> first = platform::Preferences(m_file).setAsideFile();
    writePreferencesFile("second bad file");
    const std::optional<fs::path> second = platform::Preferences(m_file).setAsideFile();
    ASSERT_TRUE(first && second);
    EXPECT_NE(*first, *second);
    EXPECT_EQ(readBytes(*first), "first bad file");
    EXPECT_EQ(readBytes(*second), "second bad file");
}

TEST_F(PreferencesTest, AnUnreadableFileIsSetAside) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root reads every file";
    }
    writePreferencesFile("<plist version=\"1.0\"><dict/></plist>");
    fs::permissions(m_file, fs::perms::none);
    platform::Preferences preferences(m_file);
    EXPECT_TRUE(preferences.keys().isEmpty());
    ASSERT_TRUE(preferences.setAsideFile());
    EXPECT_TRUE(fs::exists(*preferences.setAsideFile()));
}

TEST_F(PreferencesTest, AGoodOrMissingFileIsNotSetAside) {
    EXPECT_FALSE(platform::Preferences(m_file).setAsideFile());
    writePreferencesFile("<plist version=\"1.0\"><dict><key>a</key><true/></dict></plist>");
    platform::Preferences preferences(m_file);
    EXPECT_FALSE(preferences.setAsideFile());
    EXPECT_TRUE(preferences.value("a").toBool());
}

TEST(PreferencesDefaultFileTest, LivesInTheXdgConfigFolder) {
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    const bool wasSet = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    QTemporaryDir folder;
    qputenv("XDG_CONFIG_HOME", folder.path().toUtf8());
    EXPECT_EQ(platform::Preferences::defaultFile(),
              fs::path(folder.path().toStdString()) / "JoinClip" / "preferences.plist");
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(platform::Preferences::defaultFile(),
              fs::path(QDir::homePath().toStdString()) / ".config" / "JoinClip" / "preferences.plist");
    if (wasSet) {
        qputenv("XDG_CONFIG_HOME", saved);
    }
}

} // namespace
