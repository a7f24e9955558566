#include "support/StringExtensions.h"

#include <QStringList>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

using support::cleanForFilename;
using support::compareAsTime;

TEST(CleanForFilename, TurnsSlashesAndColonsIntoHyphensLeavingEverythingElse) {
    EXPECT_EQ(cleanForFilename("06/12/2026, 16:28:35"), "06-12-2026, 16-28-35");
    EXPECT_EQ(cleanForFilename("/:/:"), "----");
    EXPECT_EQ(cleanForFilename("Holiday \\ 2026 *?"), "Holiday \\ 2026 *?");
    EXPECT_EQ(cleanForFilename(QString::fromUtf8("Grüße – ★")), QString::fromUtf8("Grüße – ★"));
    EXPECT_EQ(cleanForFilename(QString()), QString());
}

// Instants, not characters: by characters "0:00.5" would come after "00:01"
// and "10" before "9.5". Unreadable texts come first, in text order.
TEST(CompareAsTime, ComparesInstantsInAnyScale) {
    const struct {
        const char *a, *b;
        int order;
    } pairs[] = {{"0:00.5", "00:01", -1},
                 {"00:01", "0:00.5", 1},
                 {"10", "9.5", 1},
                 {"0:00:01:30.300/600", "0:00:01:30.1/2", 0},
                 {"1:30", "0:00:01:30.0/1", 0},
                 {"soon", "0:00:00:00.0/1", -1},
                 {"0:00:00:00.0/1", "soon", 1},
                 {"later", "soon", -1},
                 {"soon", "soon", 0}};
    for (const auto& [a, b, order] : pairs)
        EXPECT_EQ(compareAsTime(a, b), order) << a << " vs " << b;

    QStringList times = {"0:00:01:30.0/1", "0:00:00:00.5/10", "??", "00:01", "indefinite", "1:30.25", "1:30"};
    std::ranges::stable_sort(times,
                             [](const QString& a, const QString& b) { return compareAsTime(a, b) < 0; });
    EXPECT_EQ(times, (QStringList{"??", "0:00:00:00.5/10", "00:01", "0:00:01:30.0/1", "1:30", "1:30.25",
                                  "indefinite"}));
}

} // namespace
