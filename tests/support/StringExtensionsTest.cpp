#include "support/StringExtensions.h"

#include <QStringList>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

using support::cleanForFilename;
using support::compareAsTime;

TEST(CleanForFilename, TurnsSlashesAndColonsIntoHyphens) {
    EXPECT_EQ(cleanForFilename(QStringLiteral("06/12/2026, 16:28:35")),
              QStringLiteral("06-12-2026, 16-28-35"));
    EXPECT_EQ(cleanForFilename(QStringLiteral("/:/:")), QStringLiteral("----"));
}

TEST(CleanForFilename, LeavesEverythingElseAlone) {
    EXPECT_EQ(cleanForFilename(QStringLiteral("Holiday \\ 2026 *?")), QStringLiteral("Holiday \\ 2026 *?"));
    EXPECT_EQ(cleanForFilename(QString::fromUtf8("Grüße – ★")), QString::fromUtf8("Grüße – ★"));
    EXPECT_EQ(cleanForFilename(QString()), QString());
}

TEST(CompareAsTime, ComparesInstantsNotCharacters) {
    const QString halfSecond = QStringLiteral("0:00.5");
    const QString oneSecond = QStringLiteral("00:01");
    ASSERT_GT(halfSecond, oneSecond); // by characters the half second comes later
    EXPECT_EQ(compareAsTime(halfSecond, oneSecond), -1);
    EXPECT_EQ(compareAsTime(oneSecond, halfSecond), 1);

    ASSERT_LT(QStringLiteral("10"), QStringLiteral("9.5"));
    EXPECT_EQ(compareAsTime(QStringLiteral("10"), QStringLiteral("9.5")), 1);
}

TEST(CompareAsTime, SameInstantInDifferentScalesIsEqual) {
    EXPECT_EQ(compareAsTime(QStringLiteral("0:00:01:30.300/600"), QStringLiteral("0:00:01:30.1/2")), 0);
    EXPECT_EQ(compareAsTime(QStringLiteral("1:30"), QStringLiteral("0:00:01:30.0/1")), 0);
}

TEST(CompareAsTime, UnreadableTextsComeFirstInTextOrder) {
    EXPECT_EQ(compareAsTime(QStringLiteral("soon"), QStringLiteral("0:00:00:00.0/1")), -1);
    EXPECT_EQ(compareAsTime(QStringLiteral("0:00:00:00.0/1"), QStringLiteral("soon")), 1);
    EXPECT_EQ(compareAsTime(QStringLiteral("later"), QStringLiteral("soon")), -1);
    EXPECT_EQ(compareAsTime(QStringLiteral("soon"), QStringLiteral("soon")), 0);
}

TEST(CompareAsTime, SortsASplitList) {
    QStringList times = {
        QStringLiteral("0:00:01:30.0/1"), QStringLiteral("0:00:00:00.5/10"), QStringLiteral("??"),
        QStringLiteral("00:01"),          QStringLiteral("indefinite"),      QStringLiteral("1:30.25"),
        QStringLiteral("1:30"),
    };
    std::stable_sort(times.begin(), times.end(),
                     [](const QString& a, const QString& b) { return compareAsTime(a, b) < 0; });
    const QStringList expected = {
        QStringLiteral("??"),         QStringLiteral("0:00:00:00.5/10"),
        QStringLiteral("00:01"),      QStringLiteral("0:00:01:30.0/1"),
        QStringLiteral("1:30"),       QStringLiteral("1:30.25"),
        QStringLiteral("indefinite"),
    };
    EXPECT_EQ(times, expected);
}

} // namespace
