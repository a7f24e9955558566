#include "support/LocalizedString.h"

#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

namespace {

using support::LocalizedString;
using support::localizedStringCacheSize;

class LocalizedStringTest : public ::testing::Test {
protected:
    void SetUp() override { support::resetLocalizedStringsForTesting(); }
    void TearDown() override { support::resetLocalizedStringsForTesting(); }
    // A table that answers key + suffix (or null for keys in m_nullKeys) and
    // counts how often it is consulted.
    void injectCountingTable(QString suffix = QStringLiteral(" [table]")) {
        support::setLocalizedStringTableForTesting([this, suffix](const QString& key) {
            ++m_consulted;
            return m_nullKeys.contains(key) ? QString() : key + suffix;
        });
    }
    int m_consulted = 0;
    QStringList m_nullKeys;
};

TEST_F(LocalizedStringTest, EachTextIsLookedUpOnceWhateverItsForm) {
    EXPECT_EQ(localizedStringCacheSize(), 0u) << "the cache is made by the first lookup";
    injectCountingTable();
    EXPECT_EQ(LocalizedString("Viewer"), QStringLiteral("Viewer [table]"));
    EXPECT_EQ(LocalizedString(QStringLiteral("View") + QStringLiteral("er")),
              QStringLiteral("Viewer [table]"));
    EXPECT_EQ(m_consulted, 1);
    EXPECT_EQ(localizedStringCacheSize(), 1u);
    for (const char* text : {"Saved to: /a/one.qxst", "Saved to: /a/two.qxst", "Saved to: /a/one.qxst"})
        LocalizedString(text);
    EXPECT_EQ(localizedStringCacheSize(), 3u) << "each formatted text adds one entry";
    EXPECT_EQ(m_consulted, 3);
}

TEST_F(LocalizedStringTest, NullAnswersAndNullKeysAreNotCachedAndEntriesAreNeverReplaced) {
    EXPECT_TRUE(LocalizedString(QString()).isNull());
    EXPECT_TRUE(LocalizedString(static_cast<const char*>(nullptr)).isNull());
    m_nullKeys = {QStringLiteral("Unanswered")};
    injectCountingTable(QStringLiteral(" (first)"));
    EXPECT_TRUE(LocalizedString("Unanswered").isNull());
    EXPECT_TRUE(LocalizedString("Unanswered").isNull());
    EXPECT_EQ(m_consulted, 2);
    EXPECT_EQ(localizedStringCacheSize(), 0u);
    EXPECT_EQ(LocalizedString("Play All"), QStringLiteral("Play All (first)"));
    injectCountingTable(QStringLiteral(" (second)"));
    EXPECT_EQ(LocalizedString("Play All"), QStringLiteral("Play All (first)"));
    ASSERT_TRUE(support::loadLocalizedStringTable(QLocale(QLocale::German, QLocale::Germany)));
    support::setLocalizedStringTableForTesting({});
    EXPECT_EQ(LocalizedString("Play All"), QStringLiteral("Play All (first)"));
}

TEST_F(LocalizedStringTest, GermanTableIsEmbeddedAndEnglishOrLanguagesWithoutTableAnswerTheKeys) {
    EXPECT_FALSE(support::loadLocalizedStringTable(QLocale(QLocale::Japanese, QLocale::Japan)));
    EXPECT_EQ(LocalizedString("Cancel"), "Cancel");
    support::resetLocalizedStringsForTesting();
    ASSERT_TRUE(support::loadLocalizedStringTable(QLocale(QLocale::English, QLocale::UnitedStates)));
    EXPECT_EQ(LocalizedString("%@ frames"), "%@ frames");
    support::resetLocalizedStringsForTesting();
    ASSERT_TRUE(support::loadLocalizedStringTable(QLocale(QLocale::German, QLocale::Germany)));
    EXPECT_EQ(LocalizedString(" and "), " und "); // blanks are part of the key
    EXPECT_EQ(LocalizedString("Not in any table"), "Not in any table");
}

// Every entry of every .ts file is in the compiled table and keeps the key's
// placeholders in the same order.
TEST_F(LocalizedStringTest, TranslationsKeepPlaceholdersInOrder) {
    const auto placeholders = [](const QString& text) {
        QStringList found;
        for (auto match = QRegularExpression("%[@ds]").globalMatch(text); match.hasNext();)
            found << match.next().captured();
        return found;
    };
    QFile ts(JOINCLIP_TRANSLATIONS_DIR "/joinclip_de.ts");
    ASSERT_TRUE(ts.open(QIODevice::ReadOnly));
    ASSERT_TRUE(support::loadLocalizedStringTable(QLocale(QLocale::German)));
    int entries = 0;
    QString key;
    QXmlStreamReader xml(&ts);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("source")) {
            key = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            const QString translation = xml.readElementText();
            ++entries;
            EXPECT_FALSE(translation.isEmpty()) << key.toStdString();
            EXPECT_EQ(placeholders(key), placeholders(translation)) << key.toStdString();
            EXPECT_EQ(support::lookUpLocalizedStringTable(key), translation) << key.toStdString();
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_GE(entries, 10);
}

} // namespace
