#include "support/ShortText.h"

#include <cstring>
#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace {

using support::ShortText;

std::string text(const ShortText& shortText) {
    EXPECT_EQ(std::strlen(shortText.c_str()), shortText.size()) << "NUL-terminated at its size";
    return std::string(shortText.view());
}

TEST(ShortText, KeepsAtMost255BytesNeverSplittingAUtf8Character) {
    const std::string a250(250, 'a');
    const struct {
        std::string start;
        std::string appended;
        std::string kept; // after start
    } cases[] = {
        {"", "", ""},
        {a250, "0123456789", "01234"},
        {a250 + "0123", "4", "4"},
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
    full.append("more");
    EXPECT_EQ(full.size(), 255u);
    full.assign("short");
    EXPECT_EQ(text(full), "short");
    full.assign(a250 + "01\xe2\x82\xac");
    EXPECT_EQ(full.size(), 255u);

    std::string umlauts; // only the character that straddles the end goes
    for (int i = 0; i < 200; ++i)
        umlauts += "\xc3\xbc"; // ü
    EXPECT_EQ(ShortText(umlauts).size(), 254u);
}

TEST(ShortText, AppendNumberWritesPlainDecimalsCutLikeAnyText) {
    ShortText numbers;
    for (const std::int64_t number :
         {std::int64_t{0}, std::int64_t{-1}, std::int64_t{1234567}, std::numeric_limits<std::int64_t>::min(),
          std::numeric_limits<std::int64_t>::max()}) {
        numbers.appendNumber(number);
        numbers.append("|");
    }
    EXPECT_EQ(text(numbers), "0|-1|1234567|-9223372036854775808|9223372036854775807|");

    ShortText cut(std::string(252, 'a'));
    cut.appendNumber(-123456);
    EXPECT_EQ(text(cut).substr(252), "-12");
}

} // namespace
