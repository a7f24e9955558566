#include "platform/LocaleFormat.h"

#include <gtest/gtest.h>
#include <limits>

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
}

TEST_F(LocaleFormatTest, NanosecondsNeverRoundUpToTheNextSecond) {
    platform::setLocaleForTesting("de_DE", "UTC");
    EXPECT_EQ(platform::formatDateTime(kSample, 999'999'999), QString("14.07.09, 18:03:22"));
    EXPECT_EQ(platform::formatDateTime(0), QString("01.01.70, 00:00:00"));
}

TEST_F(LocaleFormatTest, ReadsBackWhatItWrites) {
    for (const auto& [locale, zone] :
         {std::pair{"en_US", "America/New_York"}, std::pair{"de_DE", "Europe/Berlin"}}) {
        platform::setLocaleForTesting(locale, zone);
        for (const std::int64_t seconds :
             {kSample, kSample + 1, std::int64_t{946684799}, std::int64_t{1700000000},
              std::int64_t{1711846800} /* a summer-time change */}) {
            const QString text = platform::formatDateTime(seconds);
            EXPECT_EQ(platform::parseDateTime(text), seconds) << locale << " " << text.toStdString();
        }
    }
}

TEST_F(LocaleFormatTest, RefusesTextsItWouldNotWrite) {
    platform::setLocaleForTesting("de_DE", "Europe/Berlin");
    for (const char* text :
         {"", "garbage", "14.07.09", "14.07.09, 20:03:22 extra", "20:03:22", "14.07.09 20:03:22x",
          "7/14/09, 6:03:22 PM", "32.07.09, 20:03:22", "14.07.09, 25:03:22"}) {
        EXPECT_EQ(platform::parseDateTime(QString::fromUtf8(text)), std::nullopt) << text;
    }
    platform::setLocaleForTesting("en_US", "UTC");
    EXPECT_EQ(platform::parseDateTime("14.07.09, 20:03:22"), std::nullopt);
    EXPECT_EQ(platform::parseDateTime("13/14/09, 6:03:22\u202FPM"), std::nullopt);
}

TEST_F(LocaleFormatTest, GroupsDigitsInThreesWithCommasInEveryLocale) {
    // German and French group with other characters, Spanish leaves four digits
    // ungrouped, Hindi groups in twos after the first three: here all use ",".
    for (const char* locale : {"en_US", "de_DE", "fr_FR", "es_ES", "hi_IN@numbers=latn"}) {
        platform::setLocaleForTesting(locale, "UTC");
        EXPECT_EQ(platform::formatNumberWithGrouping(1234567), QString("1,234,567")) << locale;
        EXPECT_EQ(platform::formatNumberWithGrouping(1234), QString("1,234")) << locale;
        EXPECT_EQ(platform::formatNumberWithGrouping(999), QString("999")) << locale;
        EXPECT_EQ(platform::formatNumberWithGrouping(0), QString("0")) << locale;
    }
    platform::setLocaleForTesting("en_US", "UTC");
    EXPECT_EQ(platform::formatNumberWithGrouping(-1234), QString("-1,234"));
    EXPECT_EQ(platform::formatNumberWithGrouping(std::numeric_limits<std::int64_t>::max()),
              QString("9,223,372,036,854,775,807"));
}

} // namespace
