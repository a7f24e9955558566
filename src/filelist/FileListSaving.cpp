// The list in the preferences between runs: "MovieAliases" holds every
// entry's file reference data, "ChapterTitles" its title, in list order.

#include "filelist/FileList.h"
#include "support/UserDefaults.h"

#include <QVariantList>

namespace filelist {

using support::Pref;

void FileList::saveList() {
    if (!m_defaults.boolValue(Pref::RememberFileList) || m_movies.empty()) {
        m_defaults.remove(Pref::MovieAliases);
        m_defaults.remove(Pref::ChapterTitles);
        return;
    }
    QVariantList aliases;
    QVariantList titles;
    aliases.reserve(count());
    titles.reserve(count());
    for (const MovieEntry& entry : m_movies) {
        aliases.append(entry.alias);
        titles.append(entry.title);
    }
    m_defaults.setValue(Pref::MovieAliases, aliases);
    m_defaults.setValue(Pref::ChapterTitles, titles);
}

void FileList::restoreList() {
    if (!m_defaults.boolValue(Pref::RememberFileList))
        return;
    const QVariant saved = m_defaults.value(Pref::MovieAliases);
    if (saved.typeId() != QMetaType::QVariantList)
        return;
    const QVariant savedTitles = m_defaults.value(Pref::ChapterTitles);
    const QVariantList titles =
        savedTitles.typeId() == QMetaType::QVariantList ? savedTitles.toList() : QVariantList();

    const QVariantList aliases = saved.toList();
    for (qsizetype i = 0; i < aliases.size(); ++i) {
        if (aliases[i].typeId() != QMetaType::QByteArray)
            continue;
        const int before = count();
        insertEntry(aliases[i].toByteArray(), before, std::nullopt);
        // A file that is gone adds nothing, and its saved title goes with it.
        if (count() > before && i < titles.size() && titles[i].typeId() == QMetaType::QString)
            setTitle(count() - 1, titles[i].toString());
    }
    emit changed();
}

} // namespace filelist
