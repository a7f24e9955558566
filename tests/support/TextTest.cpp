// The text helpers: bounded texts, durations, formats and time comparison. File-name
// cleaning is checked where sound movies are named (CreateMovieFromSoundFileTest).

#include "support/DurationText.h"
#include "support/FormatText.h"
#include "support/ShortText.h"
#include "support/StringExtensions.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

using support::ShortText;

std::string text(const ShortText& shortText) {
    EXPECT_EQ(std::strlen(shortText.c_str()), shortText.size()) << "NUL-terminated at its size";
    return std::string(shortText.view());
}

TEST(ShortText, KeepsAtMost255BytesNeverSplittingAUtf8Character) {
    const std::string a250(250, 'a');
    const struct {
        std::string start, appended, kept; // kept: after start
    } cases[] = {
        {a250, "0123456789", "01234"},
        {a250 + "0123", "\xc3\xa9", ""},                 // é
        {a250 + "012", "\xe2\x82\xac", ""},              // €
        {a250 + "01", "x\xf0\x9f\x8e\xac", "x"},         // x then 🎬
        {a250 + "0123", "\x80\x80\x80\x80\x80", "\x80"}, // invalid bytes are cut where they fall
    };
    for (const auto& [start, appended, kept] : cases) {
        ShortText appending(start);
        appending.append(appended);
        EXPECT_EQ(text(appending), start + kept) << appended;
    }
    ShortText full(std::string(300, 'a'));
    EXPECT_EQ(full.size(), 255u);
    full.assign("short");
    EXPECT_EQ(text(full), "short");
    std::string umlauts; // only the character that straddles the end goes
    for (int i = 0; i < 200; ++i)
        umlauts += "\xc3\xbc"; // ü
    EXPECT_EQ(ShortText(umlauts).size(), 254u);
    ShortText numbers;
    for (const std::int64_t number : {std::int64_t{0}, INT64_MIN, INT64_MAX}) {
        numbers.appendNumber(number);
        numbers.append("|");
    }
    EXPECT_EQ(text(numbers), "0|-9223372036854775808|9223372036854775807|");
    ShortText cut(std::string(252, 'a'));
    cut.appendNumber(-123456);
    EXPECT_EQ(text(cut).substr(252), "-12") << "numbers are cut like any text";
}

TEST(DurationText, NamesEachNonZeroPartWithItsUnitBehindWhatTheTextHolds) {
    const std::pair<std::uint32_t, const char*> table[] = {{0, "0 secs"},
                                                           {61, "1 min 1 sec "},
                                                           {120, "2 mins "},
                                                           {3601, "1 hr 1 sec "},
                                                           {3660, "1 hr 1 min "},
                                                           {7322, "2 hrs 2 mins 2 secs "},
                                                           {4294967295u, "1193046 hrs 28 mins 15 secs "}};
    for (const auto& [seconds, expected] : table) {
        ShortText line("Elapsed: ");
        support::DurationText(seconds, line);
        EXPECT_EQ(text(line), std::string("Elapsed: ") + expected) << seconds;
    }
}

TEST(FormatText, FillsPlaceholdersInOrder) {
    using support::fillFormat;
    EXPECT_EQ(fillFormat("Processing file %d of %d", {"1", "3"}), "Processing file 1 of 3");
    EXPECT_EQ(fillFormat("Created movie: %@", {"a%d.mov"}), "Created movie: a%d.mov")
        << "arguments are not formats";
    EXPECT_EQ(fillFormat("%ld%% done, %s", {"50", "ok"}), "50% done, ok");
    EXPECT_EQ(fillFormat("%@ and %@", {"one"}), "one and %@");
    EXPECT_EQ(fillFormat("100%", {}), "100%");
}

// Instants, not characters: by characters "0:00.5" would come after "00:01"
// and "10" before "9.5". Unreadable texts come first, in text order.
TEST(CompareAsTime, ComparesInstantsInAnyScale) {
    using support::compareAsTime;
    const struct {
        const char *a, *b;
        int order;
    } pairs[] = {{"0:00.5", "00:01", -1},
                 {"10", "9.5", 1},
                 {"0:00:01:30.300/600", "0:00:01:30.1/2", 0},
                 {"1:30", "0:00:01:30.0/1", 0},
                 {"0:00:00:00.0/1", "soon", 1},
                 {"later", "soon", -1},
                 {"indefinite", "1:30.25", 1}};
    for (const auto& [a, b, order] : pairs)
        EXPECT_EQ(compareAsTime(a, b), order) << a << " vs " << b;
}

} // namespace
