// The list in the preferences between runs: "MovieAliases" holds every
// entry's file reference data, "ChapterTitles" its title, in list order.

#include "filelist/ListSaving.h"

#include "filelist/FileList.h"
#include "filelist/ListEdits.h"
#include "support/UserDefaults.h"

#include <QVariantList>

namespace filelist {

using support::Pref;

void saveList(const FileList& list, support::UserDefaults& defaults) {
    if (!defaults.boolValue(Pref::RememberFileList) || list.count() == 0) {
        defaults.remove(Pref::MovieAliases);
        defaults.remove(Pref::ChapterTitles);
        return;
    }
    QVariantList aliases;
    QVariantList titles;
    aliases.reserve(list.count());
    titles.reserve(list.count());
    for (const MovieEntry& entry : list.movies()) {
        aliases.append(entry.alias);
        titles.append(entry.title);
    }
    defaults.setValue(Pref::MovieAliases, aliases);
    defaults.setValue(Pref::ChapterTitles, titles);
}

void restoreList(FileList& list, const support::UserDefaults& defaults) {
    if (!defaults.boolValue(Pref::RememberFileList))
        return;
    const QVariant saved = defaults.value(Pref::MovieAliases);
    if (saved.typeId() != QMetaType::QVariantList)
        return;
    const QVariant savedTitles = defaults.value(Pref::ChapterTitles);
    const QVariantList titles =
        savedTitles.typeId() == QMetaType::QVariantList ? savedTitles.toList() : QVariantList();

    const QVariantList aliases = saved.toList();
    for (qsizetype i = 0; i < aliases.size(); ++i) {
        if (aliases[i].typeId() != QMetaType::QByteArray)
            continue;
        const int before = list.count();
        list.insertEntry(aliases[i].toByteArray(), before, std::nullopt);
        // A file that is gone adds nothing, and its saved title goes with it.
        if (list.count() > before && i < titles.size() && titles[i].typeId() == QMetaType::QString)
            setTitle(list, list.count() - 1, titles[i].toString());
    }
}

} // namespace filelist
