#pragma once

#include <QLocale>
#include <QString>
#include <cstddef>
#include <functional>

namespace support {

// The display text of a language-dependent text, keyed by its English text
// (placeholders such as "%@" and "%d" included; translations keep them in
// order, since callers use many answers as formats).
//
// Every answer is kept in one process-wide cache: the table is consulted at
// most once per key, and an entry is never replaced or dropped, so a change
// of language while the program runs does not affect keys already looked up.
// A key the table lacks answers itself (and is cached like any answer). A
// null answer, which only a null key gets, is returned and not cached.
//
// The table is the Qt translation of context "LocalizedStrings" for the
// user's language (QLocale::system().uiLanguages(), so LANGUAGE, LC_ALL,
// LC_MESSAGES and LANG choose it), compiled from resources/translations and
// embedded in the program. Main thread only: the cache has no lock.
QString LocalizedString(const QString& key);
// The same lookup for a UTF-8 key, sharing the same cache entries.
QString LocalizedString(const char* utf8Key);

// Chooses the table of locale's language instead of the user's (for the
// command line and tests). Answers false when there is none, after which
// every key answers itself. Keys already cached keep their answers.
bool loadLocalizedStringTable(const QLocale& locale);

// The table's own answer for key, bypassing the cache: the translation, the
// key itself when the table lacks it, null for a null key.
QString lookUpLocalizedStringTable(const QString& key);

// Seams for tests.
using LocalizedStringTable = std::function<QString(const QString& key)>;
// Consults table instead of the translations; an empty function restores them.
void setLocalizedStringTableForTesting(LocalizedStringTable table);
// Forgets the cache, the chosen language and any injected table.
void resetLocalizedStringsForTesting();
// The number of cached keys (0 before the first lookup).
std::size_t localizedStringCacheSize();

} // namespace support
