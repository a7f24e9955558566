#include "platform/Preferences.h"

#include "FileContents.h"
#include "SameValue.h"
#include "ScopedEnvironment.h"
#include "TestFolder.h"

#include <QDir>
#include <QPoint>
#include <QRegularExpression>
#include <QUrl>
#include <gtest/gtest.h>
#include <limits>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// A binary property list written by Python's plistlib (an independent
// writer): {big: 2^40, bytes: <00 01 ff>, count: -42, dict: {inner: true},
// flag: true, list: [1, "two", [3.5]], name: "Zoë", off: false, ratio: 1.0,
// when: 2009-07-14 18:03:22 UTC}.
const QByteArray kBinaryPropertyList = QByteArray::fromHex(
    "62706c6973743030da0102030405060708090a0b0c0d0e1011161718195362696755627974657355636f756e745464696374"
    "54666c6167546c697374546e616d65536f666655726174696f547768656e130000010000000000430001ff13ffffffffffff"
    "ffd6d10f1055696e6e657209a312131410015374776fa11523400c00000000000063005a006f00eb08233ff0000000000000"
    "3341b00cffea000000081d21272d32373c41454b50595d66696f7074767a7c858c8d96000000000000010100000000000000"
    "1a0000000000000000000000000000009f");

using testing_support::contentsOf;
using testing_support::sameValue;

QVariantMap valuesIn(const platform::Preferences& preferences) {
    QVariantMap values;
    for (const QString& key : preferences.keys())
        values.insert(key, preferences.value(key));
    return values;
}

class PreferencesTest : public ::testing::Test {
protected:
    void writePreferencesFile(const std::string& bytes) const { testing_support::writeFile(m_file, bytes); }
    const testing_support::TestFolder m_root;
    const fs::path m_file = m_root / "JoinClip" / "preferences.plist";
};

TEST_F(PreferencesTest, EveryTypeSurvivesARestartExactly) {
    const QVariantMap values = {
        {"true", true},
        {"false", false},
        {"largest", std::numeric_limits<qint64>::max()},
        {"smallest", std::numeric_limits<qint64>::min()},
        {"whole double", 1.0},
        {"fraction", 0.1},
        {"tiny", 5e-324},
        {"text", QString("Zoë – 日本 😀 <&>\"' ]]>")},
        {"controls", QString("tab\tline\nreturn\r\x01\x1f  padded ")},
        {"empty text", QString("")},
        {"bytes", QByteArray("\x00\x01\xfe\xff", 4)},
        {"empty bytes", QByteArray()},
        {"date", QDateTime(QDate(2009, 7, 14), QTime(18, 3, 22), Qt::UTC)},
        {"list", QVariantList{true, qint64(7), 7.0, QString("seven"), QByteArray("7"), QVariantList{}}},
        {"dictionary", QVariantMap{{"depth", QVariantMap{{"flag", false}, {"list", QVariantList{1.0}}}}}},
        {"empty dictionary", QVariantMap{}},
        {"key with / and \\ and = [brackets]", QString("slashes are plain characters")}};
    {
        platform::Preferences preferences(m_file);
        for (auto entry = values.cbegin(); entry != values.cend(); ++entry)
            ASSERT_TRUE(preferences.setValue(entry.key(), entry.value())) << entry.key().toStdString();
    } // the destructor writes
    const platform::Preferences reopened(m_file);
    const QVariantMap reread = valuesIn(reopened);
    ASSERT_EQ(reread.keys(), values.keys());
    EXPECT_FALSE(reopened.contains("missing") || reopened.value("missing").isValid());
    for (auto entry = values.cbegin(); entry != values.cend(); ++entry)
        EXPECT_TRUE(sameValue(entry.value(), reread.value(entry.key()))) << entry.key().toStdString();
}

TEST_F(PreferencesTest, StoresValuesInTheFormTheyReadBackIn) {
    platform::Preferences preferences(m_file);
    const std::pair<QVariant, QVariant> forms[] = {
        {5, qint64(5)},
        {7u, qint64(7)},
        {1.5f, 1.5},
        {-0.0, 0.0}, // the XML form has no -0
        {QStringList{"a", "b"}, QVariantList{"a", "b"}},
        {QVariantHash{{"k", 1}}, QVariantMap{{"k", qint64(1)}}},
        {QDateTime(QDate(2009, 7, 14), QTime(20, 3, 22, 999), Qt::OffsetFromUTC, 7200), // UTC, whole seconds
         QDateTime(QDate(2009, 7, 14), QTime(18, 3, 22), Qt::UTC)}};
    for (const auto& [given, stored] : forms) {
        ASSERT_TRUE(preferences.setValue("key", given));
        EXPECT_TRUE(sameValue(preferences.value("key"), stored)) << given.typeName();
    }
}

TEST_F(PreferencesTest, RefusesValuesWithoutAPropertyListForm) {
    platform::Preferences preferences(m_file);
    ASSERT_TRUE(preferences.setValue("kept", QString("before")));
    for (const QVariant& value :
         {QVariant(), QVariant(QUrl("https://example.com")), QVariant(std::numeric_limits<quint64>::max()),
          QVariant(QString::fromUtf8("nul\0inside", 10)), QVariant(QVariantList{qint64(1), QPoint(1, 2)}),
          QVariant(QVariantMap{{QString::fromUtf8("nul\0key", 7), true}}),
          QVariant(QDateTime(QDate(1900, 1, 1), QTime(0, 0), Qt::UTC))}) {
        EXPECT_FALSE(preferences.setValue("kept", value)) << value.typeName();
        EXPECT_FALSE(preferences.setValue("new", value)) << value.typeName();
    }
    EXPECT_FALSE(preferences.setValue(QString::fromUtf8("nul\0key", 7), true));
    EXPECT_EQ(preferences.value("kept"), QVariant(QString("before")));
    EXPECT_FALSE(preferences.contains("new"));
}

TEST_F(PreferencesTest, WritesOnlyChangesAtomicallyLeavingNoOtherFiles) {
    {
        platform::Preferences untouched(m_file);
        EXPECT_TRUE(untouched.synchronize());
        untouched.remove("absent");
        EXPECT_TRUE(untouched.synchronize());
    }
    EXPECT_FALSE(fs::exists(m_file)) << "nothing to write, so no file";
    {
        platform::Preferences preferences(m_file);
        for (const char* key : {"a", "b", "number"})
            ASSERT_TRUE(preferences.setValue(key, qint64(1)));
        ASSERT_TRUE(preferences.synchronize());
        fs::remove(m_file);
        ASSERT_TRUE(preferences.setValue("number", qint64(1))); // the same value: no change
        ASSERT_TRUE(preferences.synchronize());
        EXPECT_FALSE(fs::exists(m_file));
        ASSERT_TRUE(preferences.setValue("number", 1.0)); // a double is a different value
        preferences.remove("a");
        preferences.remove("never there");
        ASSERT_TRUE(preferences.synchronize());
        EXPECT_TRUE(fs::exists(m_file));
    }
    EXPECT_EQ(platform::Preferences(m_file).keys(), (QStringList{"b", "number"}))
        << "removed keys stay removed";
    EXPECT_EQ(testing_support::namesIn(m_file.parent_path()), std::vector<std::string>{"preferences.plist"});
    EXPECT_TRUE(contentsOf(m_file).starts_with("<?xml")) << "an XML property list";
}

TEST_F(PreferencesTest, AFailedWriteAnswersFalseAndKeepsTheChanges) {
    const fs::path file = m_root.write("not a folder") / "preferences.plist";
    platform::Preferences preferences(file);
    ASSERT_TRUE(preferences.setValue("key", true));
    EXPECT_FALSE(preferences.synchronize());
    EXPECT_TRUE(preferences.value("key").toBool());
    fs::remove(m_root / "not a folder");
    EXPECT_TRUE(preferences.synchronize()) << "still pending, written once the folder can be made";
    EXPECT_TRUE(platform::Preferences(file).value("key").toBool());
}

TEST_F(PreferencesTest, ReadsPropertyListsWrittenElsewhere) {
    const std::pair<std::string, QVariantMap> files[] = {
        {kBinaryPropertyList.toStdString(),
         {{"big", qint64(1) << 40},
          {"bytes", QByteArray("\x00\x01\xff", 3)},
          {"count", qint64(-42)},
          {"dict", QVariantMap{{"inner", true}}},
          {"flag", true},
          {"list", QVariantList{qint64(1), QString("two"), QVariantList{3.5}}},
          {"name", QString("Zoë")},
          {"off", false},
          {"ratio", 1.0},
          {"when", QDateTime(QDate(2009, 7, 14), QTime(18, 3, 22), Qt::UTC)}}},
        {R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0"><dict>
    <key>whole</key><real>2</real> <key>yes</key><true/> <key>no</key><false/>
    <key>size</key><integer>-7</integer> <key>word</key><string>fish &amp; chips</string>
</dict></plist>)",
         {{"whole", 2.0},
          {"yes", true},
          {"no", false},
          {"size", qint64(-7)},
          {"word", QString("fish & chips")}}}};
    for (const auto& [bytes, expected] : files) {
        writePreferencesFile(bytes);
        const platform::Preferences preferences(m_file);
        EXPECT_FALSE(preferences.setAsideFile());
        EXPECT_TRUE(sameValue(valuesIn(preferences), expected)) << bytes.substr(0, 8);
    }
}

// Files that must never stop the application: each leaves the store empty and
// is moved aside before a new file is written.
TEST_F(PreferencesTest, ABadFileStartsEmptyAndIsSetAside) {
    using namespace std::string_literals;
    std::string deep; // well formed, too deep
    for (int level = 0; level < 1000; ++level)
        deep = "<array>" + deep + "</array>";
    const std::string bad[] = {
        "not a property list at all", "", "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>a</key>",
        "<plist version=\"1.0\"><array><true/></array></plist>", "bplist00\xff\xff\xff\xff garbage",
        "<plist version=\"1.0\"><dict><key>deep</key>" + deep + "</dict></plist>",
        "<plist version=\"1.0\"><dict><key>a</key><string>c\0d</string></dict></plist>"s,
        // Python's plistlib writing {"k\u00e9\0y": "v\u00e9\0w"}: UTF-16 texts holding U+0000, on
        // which libplist 2.2's getters would abort the program.
        QByteArray::fromHex("62706c6973743030d1010264006b00e90000007964007600e900000077080b14"
                            "000000000000010100000000000000030000000000000000000000000000001d")
            .toStdString()};
    for (const std::string& file : bad) {
        SCOPED_TRACE(file.substr(0, 40));
        writePreferencesFile(file);
        platform::Preferences preferences(m_file);
        EXPECT_TRUE(preferences.keys().isEmpty());
        ASSERT_TRUE(preferences.setAsideFile());
        const fs::path aside = *preferences.setAsideFile();
        EXPECT_TRUE(
            QRegularExpression(R"(^preferences\.plist\.corrupt-\d{8}-\d{6}(-\d+)?$)")
                .match(QString::fromStdString(aside.lexically_relative(m_file.parent_path()).string()))
                .hasMatch())
            << aside;
        EXPECT_EQ(contentsOf(aside), file);
        EXPECT_FALSE(fs::exists(m_file));
        ASSERT_TRUE(preferences.setValue("fresh", true));
        ASSERT_TRUE(preferences.synchronize());
        EXPECT_EQ(contentsOf(aside), file) << "the new file never replaces the one set aside";
        EXPECT_TRUE(platform::Preferences(m_file).value("fresh").toBool());
        fs::remove(aside);
    }
}

TEST_F(PreferencesTest, SetsAsideOnlyBadOrUnreadableFilesNeverReplacingAnEarlierOne) {
    EXPECT_FALSE(platform::Preferences(m_file).setAsideFile()) << "a missing file";
    writePreferencesFile("<plist version=\"1.0\"><dict><key>a</key><true/></dict></plist>");
    EXPECT_FALSE(platform::Preferences(m_file).setAsideFile()) << "a good file";
    writePreferencesFile("first bad file");
    const auto first = platform::Preferences(m_file).setAsideFile();
    writePreferencesFile("second bad file");
    const auto second = platform::Preferences(m_file).setAsideFile();
    ASSERT_TRUE(first && second);
    EXPECT_EQ(contentsOf(*first), "first bad file");
    EXPECT_EQ(contentsOf(*second), "second bad file");
    if (::geteuid() == 0) // root reads every file
        return;
    writePreferencesFile("<plist version=\"1.0\"><dict/></plist>");
    fs::permissions(m_file, fs::perms::none);
    const platform::Preferences unreadable(m_file);
    EXPECT_TRUE(unreadable.keys().isEmpty());
    EXPECT_TRUE(unreadable.setAsideFile() && fs::exists(*unreadable.setAsideFile()));
}

// Under XDG_CONFIG_HOME when it is set (as every command-line test sets it), else here.
TEST_F(PreferencesTest, WithoutAnXdgConfigFolderTheDefaultFileIsInHomeConfig) {
    const testing_support::ScopedEnvironment unset("XDG_CONFIG_HOME", std::nullopt);
    EXPECT_EQ(platform::Preferences::defaultFile(),
              fs::path(QDir::homePath().toStdString()) / ".config" / "JoinClip" / "preferences.plist");
}

} // namespace
