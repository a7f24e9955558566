// The preference table and its typed readers: absent keys take the table's
// default, present values are read by type, and typed text is refused cleanly.

#include "support/UserDefaults.h"

#include "TestFolder.h"
#include "platform/Preferences.h"
#include "support/PreferenceKeys.h"

#include <gtest/gtest.h>
#include <limits>

namespace {

using support::Pref;

class UserDefaultsTest : public ::testing::Test {
protected:
    const testing_support::TestFolder m_dir;
    platform::Preferences m_store{m_dir / "p.plist"};
    support::UserDefaults m_defaults{m_store};
};

TEST_F(UserDefaultsTest, AbsentKeysTakeTheTableDefaultPresentFalseStaysFalseAndOverridesComeFirst) {
    EXPECT_TRUE(m_defaults.boolValue(Pref::Flatten));
    EXPECT_DOUBLE_EQ(m_defaults.floatValue(Pref::CompressionQuality), 1.0);
    EXPECT_FALSE(m_defaults.isPresent(Pref::Flatten));
    m_defaults.setValue(Pref::Flatten, false);
    EXPECT_TRUE(m_defaults.isPresent(Pref::Flatten));
    EXPECT_FALSE(m_defaults.boolValue(Pref::Flatten));
    m_defaults.setValue(Pref::DesiredDuration, 12.9);
    EXPECT_EQ(m_defaults.integerValue(Pref::DesiredDuration), 12);
    EXPECT_DOUBLE_EQ(m_defaults.floatValue(Pref::DesiredDuration), 12.9);
    // Beyond the 64-bit range a number stands at its ends (undefined as a cast).
    for (const auto& [stored, read] : {std::pair{1e30, std::numeric_limits<qint64>::max()},
                                       std::pair{-1e30, std::numeric_limits<qint64>::min()}}) {
        m_defaults.setValue(Pref::DesiredDuration, stored);
        EXPECT_EQ(m_defaults.integerValue(Pref::DesiredDuration), read) << stored;
    }
    m_defaults.setValue(Pref::DesiredDuration, 12.9);
    m_defaults.setValue(Pref::Chapterize, QString("text is not a boolean"));
    EXPECT_TRUE(m_defaults.boolValue(Pref::Chapterize));
    // An override (a command-line option) is read first and never stored.
    m_defaults.setOverride(Pref::DesiredDuration, qint64{30});
    EXPECT_EQ(m_defaults.integerValue(Pref::DesiredDuration), 30);
    EXPECT_DOUBLE_EQ(m_store.value("DesiredDuration").toDouble(), 12.9);
}

TEST(PreferenceTextTest, NamesAreFoundAndTextIsTypedByTheDeclaredType) {
    // Each name finds its own entry (no name twice), and entries stand in enum order.
    for (std::size_t i = 0; i < support::kPreferenceCount; ++i) {
        EXPECT_EQ(static_cast<std::size_t>(support::preferenceKeys()[i].pref), i);
        EXPECT_EQ(support::findPreference(support::preferenceKeys()[i].name),
                  support::preferenceKeys()[i].pref);
    }
    EXPECT_FALSE(support::findPreference("NoSuchKey"));
    for (const auto& [pref, text, value] : std::vector<std::tuple<Pref, QString, QVariant>>{
             {Pref::Flatten, "no", false},
             {Pref::SaveFrameFormat, "3", qint64{3}},
             {Pref::DesiredDuration, "2.5", 2.5},
             {Pref::OutputDirectory, "00ff", QByteArray("\x00\xff", 2)},
             {Pref::FilterNames, R"(["a","b"])", QVariantList{"a", "b"}}})
        EXPECT_EQ(support::preferenceValueFromText(pref, text).value(), value) << text.toStdString();
    for (const auto& [pref, text] : std::vector<std::pair<Pref, QString>>{{Pref::Flatten, "maybe"},
                                                                          {Pref::SaveFrameFormat, "3.5"},
                                                                          {Pref::CompressionQuality, "inf"},
                                                                          {Pref::OutputDirectory, "xyz"},
                                                                          {Pref::ExportSettings, "[1]"}}) {
        const auto value = support::preferenceValueFromText(pref, text);
        ASSERT_FALSE(value) << text.toStdString();
        EXPECT_TRUE(QString::fromStdString(value.error().message).contains(support::preferenceName(pref)));
    }
    EXPECT_EQ(support::preferenceValueText(QVariantList{QByteArray("\x01", 1), "t\"x", true}),
              R"([<01>,"t\"x",true])");
}

} // namespace
