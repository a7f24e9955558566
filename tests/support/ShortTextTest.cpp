#include "support/ShortText.h"

#include <cstring>
#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace {

using support::ShortText;

TEST(ShortText, StartsEmpty) {
    const ShortText text;
    EXPECT_EQ(text.size(), 0u);
    EXPECT_STREQ(text.c_str(), "");
}

TEST(ShortText, AssignKeepsAtMost255Bytes) {
    ShortText text;
    text.assign(std::string(300, 'a'));
    EXPECT_EQ(text.size(), 255u);
    EXPECT_EQ(std::strlen(text.c_str()), 255u);
    text.assign("short");
    EXPECT_STREQ(text.c_str(), "short");
    EXPECT_EQ(text.size(), 5u);
}

TEST(ShortText, AppendDropsWhatDoesNotFit) {
    ShortText text(std::string(250, 'a'));
    text.append("0123456789");
    EXPECT_EQ(text.size(), 255u);
    EXPECT_EQ(text.view().substr(250), "01234");
    text.append("more");
    EXPECT_EQ(text.size(), 255u);
    EXPECT_EQ(text.c_str()[255], '\0');

    ShortText exact(std::string(254, 'a'));
    exact.append("b");
    EXPECT_EQ(exact.size(), 255u);
    EXPECT_EQ(exact.view().back(), 'b');
}

TEST(ShortText, AppendNumberWritesPlainDecimals) {
    ShortText text;
    text.appendNumber(0);
    text.append(" ");
    text.appendNumber(-1);
    text.append(" ");
    text.appendNumber(1234567);
    EXPECT_STREQ(text.c_str(), "0 -1 1234567");

    ShortText extremes;
    extremes.appendNumber(std::numeric_limits<std::int64_t>::min());
    extremes.append("|");
    extremes.appendNumber(std::numeric_limits<std::int64_t>::max());
    EXPECT_STREQ(extremes.c_str(), "-9223372036854775808|9223372036854775807");
}

TEST(ShortText, AppendNumberIsCutLikeAnyText) {
    ShortText text(std::string(252, 'a'));
    text.appendNumber(-123456);
    EXPECT_EQ(text.view().substr(252), "-12");
}

TEST(ShortText, NeverSplitsAUtf8Character) {
    ShortText twoBytes(std::string(254, 'a'));
    twoBytes.append("\xc3\xa9"); // é
    EXPECT_EQ(twoBytes.size(), 254u);

    ShortText threeBytes(std::string(253, 'a'));
    threeBytes.append("\xe2\x82\xac"); // €
    EXPECT_EQ(threeBytes.size(), 253u);
    threeBytes.assign(std::string(252, 'a') + "\xe2\x82\xac");
    EXPECT_EQ(threeBytes.size(), 255u);

    ShortText fourBytes(std::string(252, 'a'));
    fourBytes.append("x\xf0\x9f\x8e\xac"); // x then 🎬
    EXPECT_EQ(fourBytes.view().substr(252), "x");

    // Only the character that straddles the end goes.
    ShortText mixed;
    std::string umlauts;
    for (int i = 0; i < 200; ++i) {
        umlauts += "\xc3\xbc"; // ü
    }
    mixed.assign(umlauts);
    EXPECT_EQ(mixed.size(), 254u);
}

TEST(ShortText, CutsInvalidBytesWhereTheyFall) {
    ShortText text(std::string(254, 'a'));
    text.append("\x80\x80\x80\x80\x80");
    EXPECT_EQ(text.size(), 255u);
}

TEST(ShortText, CopiesAreIndependent) {
    ShortText original("one");
    ShortText copy = original;
    copy.append(" two");
    EXPECT_STREQ(original.c_str(), "one");
    EXPECT_STREQ(copy.c_str(), "one two");
}

} // namespace
