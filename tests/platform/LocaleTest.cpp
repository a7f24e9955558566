// What follows the user's locale: dates and numbers as texts, and the order of names.

#include "platform/LocaleFormat.h"
#include "platform/TextOrder.h"

#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace {

// 2009-07-14 18:03:22 UTC.
constexpr std::int64_t kSample = 1247594602;

class LocaleFormatTest : public ::testing::Test {
protected:
    void TearDown() override { platform::setLocaleForTesting(nullptr, nullptr); }
};

TEST_F(LocaleFormatTest, WritesShortDatesAndMediumTimesOfTheLocale) {
    platform::setLocaleForTesting("en_US", "UTC");
    // ICU 72's English puts a narrow no-break space before AM and PM.
    EXPECT_EQ(platform::formatDateTime(kSample), QString::fromUtf8("7/14/09, 6:03:22\u202FPM"));
    platform::setLocaleForTesting("de_DE", "Europe/Berlin");
    EXPECT_EQ(platform::formatDateTime(kSample), QString("14.07.09, 20:03:22")) << "summer time: UTC+2";
    EXPECT_EQ(platform::formatDateTime(kSample + 180 * 86400), QString("10.01.10, 19:03:22"))
        << "winter: UTC+1";
    platform::setLocaleForTesting("de_DE", "UTC");
    EXPECT_EQ(platform::formatDateTime(kSample, 999'999'999), QString("14.07.09, 18:03:22"))
        << "nanoseconds never round up to the next second";
    EXPECT_EQ(platform::formatDateTime(0), QString("01.01.70, 00:00:00"));
}

TEST_F(LocaleFormatTest, ClockReadingsAndDecimalsInTheLocalesForm) {
    // A clock reading is shown as read, whatever the time zone.
    for (const char* zone : {"UTC", "Europe/Berlin", "America/New_York"}) {
        platform::setLocaleForTesting("de_DE", zone);
        EXPECT_EQ(platform::formatWallClockDateTime(kSample), QString("14.07.09, 18:03:22")) << zone;
    }
    EXPECT_EQ(platform::formatDecimal(18.94, 1), QString("18,9"));
    EXPECT_EQ(platform::formatDecimal(1234.5, 1), QString("1.234,5"));
    platform::setLocaleForTesting("en_US", "UTC");
    EXPECT_EQ(platform::formatDecimal(18.96, 1), QString("19.0"));
}

TEST_F(LocaleFormatTest, GroupsDigitsInThreesWithCommasInEveryLocale) {
    // German and French group with other characters, Spanish leaves four digits
    // ungrouped, Hindi groups in twos after the first three: here all use ",".
    for (const char* locale : {"en_US", "de_DE", "fr_FR", "es_ES", "hi_IN@numbers=latn"}) {
        platform::setLocaleForTesting(locale, "UTC");
        EXPECT_EQ(platform::formatNumberWithGrouping(1234567), QString("1,234,567")) << locale;
        EXPECT_EQ(platform::formatNumberWithGrouping(-1234), QString("-1,234")) << locale;
    }
    EXPECT_EQ(platform::formatNumberWithGrouping(999), QString("999"));
    EXPECT_EQ(platform::formatNumberWithGrouping(std::numeric_limits<std::int64_t>::max()),
              QString("9,223,372,036,854,775,807"));
}

class TextOrderTest : public ::testing::Test {
protected:
    void SetUp() override { platform::setTextOrderLocaleForTesting("en_US"); }
    void TearDown() override { platform::setTextOrderLocaleForTesting(nullptr); }
    static int compare(const QString& a, const QString& b) {
        const int order = platform::compareInTextOrder(a, b);
        return (order > 0) - (order < 0);
    }
};

TEST_F(TextOrderTest, ComparesDigitsAsNumbersIgnoringCaseAndWidthButNotAccentsOrPunctuation) {
    const QString longText(5000, u'x');
    const struct {
        QString a, b;
        int order;
    } pairs[] = {
        {"clip2", "clip10", -1},
        {"HOLIDAY", "holiday", 0},
        {QString::fromUtf8("ＡＢＣ"), "abc", 0}, // full-width letters
        {QString::fromUtf8("résumé"), "resume", 1},
        {QString::fromUtf8("é"), "f", -1}, // an accent sorts right after its letter
        {QString::fromUtf8("caf\u00E9"), QString::fromUtf8("cafe\u0301"), 0}, // composed and decomposed
        {longText + "a", longText + "b", -1},                                 // long texts are compared whole
        {longText + "a", longText + "A", 0}};
    for (const auto& [a, b, order] : pairs)
        EXPECT_EQ(compare(a, b), order) << a.toStdString() << " vs " << b.toStdString();
    for (const auto& [a, b] : {std::pair{"a-b", "ab"}, {"a b", "ab"}, {"clip.mov", "clipmov"}})
        EXPECT_NE(compare(a, b), 0) << a << " vs " << b;
}

TEST_F(TextOrderTest, SortsNamesAsPeopleExpectKeepingEqualOnesInOrderUnderLangCToo) {
    std::vector<QString> names{"clip10.mov", "Clip1.mov", "clip2.mov", QString::fromUtf8("élan.mov"),
                               "elan.mov",   "b.mov"};
    platform::sortInTextOrder(names);
    EXPECT_EQ(names, (std::vector<QString>{"b.mov", "Clip1.mov", "clip2.mov", "clip10.mov", "elan.mov",
                                           QString::fromUtf8("élan.mov")}));
    std::vector<std::pair<QString, int>> entries{{"b", 0}, {"A", 1}, {"B", 2}, {"a", 3}, {"b", 4}, {"A", 5}};
    platform::stableSortInTextOrder(entries, &std::pair<QString, int>::first);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(entries[i].second, (std::vector<int>{1, 3, 5, 0, 2, 4})[i]);
    // Under LANG=C (ICU's en_US_POSIX) the order stays case-insensitive.
    platform::setTextOrderLocaleForTesting("en_US_POSIX");
    EXPECT_EQ(compare("Clip", "clip"), 0);
    EXPECT_EQ(compare("clip10", "F2"), -1);
}

} // namespace
