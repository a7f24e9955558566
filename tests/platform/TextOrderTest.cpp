#include "platform/TextOrder.h"

#include <gtest/gtest.h>
#include <string>

namespace {

class TextOrderTest : public ::testing::Test {
protected:
    void SetUp() override { platform::setTextOrderLocaleForTesting("en_US"); }
    void TearDown() override { platform::setTextOrderLocaleForTesting(nullptr); }

    static int sign(int number) { return (number > 0) - (number < 0); }
    static int compare(const QString& a, const QString& b) {
        return sign(platform::compareInTextOrder(a, b));
    }
};

TEST_F(TextOrderTest, ComparesDigitsAsNumbersIgnoringCaseAndWidthButNotAccentsOrPunctuation) {
    const QString longText(5000, u'x');
    const struct {
        QString a, b;
        int order;
    } pairs[] = {
        {"clip2", "clip10", -1},
        {"clip10", "clip2", 1},
        {"clip 9.mov", "clip 10.mov", -1},
        {"2009", "10000", -1},
        {"Clip", "clip", 0},
        {"HOLIDAY", "holiday", 0},
        {QString::fromUtf8("ＡＢＣ"), "abc", 0}, // full-width letters
        {QString::fromUtf8("é"), "e", 1},
        {QString::fromUtf8("résumé"), "resume", 1},
        {QString::fromUtf8("é"), "f", -1}, // an accent sorts right after its letter
        {QString::fromUtf8("caf\u00E9"), QString::fromUtf8("cafe\u0301"), 0}, // composed and decomposed
        {longText + "a", longText + "b", -1},                                 // long texts are compared whole
        {longText + "a", longText + "A", 0},
    };
    for (const auto& [a, b, order] : pairs)
        EXPECT_EQ(compare(a, b), order) << a.toStdString() << " vs " << b.toStdString();
    for (const auto& [a, b] : {std::pair{"a-b", "ab"}, {"a b", "ab"}, {"clip.mov", "clipmov"}})
        EXPECT_NE(compare(a, b), 0) << a << " vs " << b;
}

TEST_F(TextOrderTest, SortsNamesAsPeopleExpect) {
    std::vector<QString> names{"clip10.mov", "Clip1.mov", "clip2.mov", QString::fromUtf8("élan.mov"),
                               "elan.mov",   "b.mov"};
    platform::sortInTextOrder(names);
    const std::vector<QString> expected{"b.mov",      "Clip1.mov", "clip2.mov",
                                        "clip10.mov", "elan.mov",  QString::fromUtf8("élan.mov")};
    EXPECT_EQ(names, expected);
}

TEST_F(TextOrderTest, KeepsEqualElementsInTheirOrder) {
    struct Entry {
        QString name;
        int index;
    };
    std::vector<Entry> entries{{"b", 0}, {"A", 1}, {"B", 2}, {"a", 3}, {"b", 4}, {"A", 5}};
    platform::stableSortInTextOrder(entries, &Entry::name);
    std::vector<int> order;
    for (const Entry& entry : entries) {
        order.push_back(entry.index);
    }
    EXPECT_EQ(order, (std::vector<int>{1, 3, 5, 0, 2, 4}));

    std::vector<QString> texts{"b", "B", "a", "A"};
    platform::sortInTextOrder(texts);
    EXPECT_EQ(texts, (std::vector<QString>{"a", "A", "b", "B"}));
}

// Under LANG=C (ICU's en_US_POSIX) the order stays case-insensitive.
TEST_F(TextOrderTest, CLocaleIgnoresCaseToo) {
    platform::setTextOrderLocaleForTesting("en_US_POSIX");
    EXPECT_EQ(compare("Clip", "clip"), 0);
    EXPECT_EQ(compare("clip10", "F2"), -1);
}

} // namespace
