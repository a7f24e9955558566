#include "filelist/TableEdits.h"
#include "filelist/ListEdits.h"

#include "filelist/FileList.h"
#include "media/Movie.h"
#include "platform/RenameInPlace.h"

#include <QFile>
#include <cstdio>

namespace filelist {

namespace {

std::optional<support::Notice> renameEntryFile(FileList& list, int row, const QString& typed) {
    const auto path = list.pathOfEntry(row);
    if (!path)
        return std::nullopt;
    // Only the last part of a typed path counts: the file stays in its folder.
    const QString newName = typed.section('/', -1);
    const std::filesystem::path target = path->parent_path() / QFile::encodeName(newName).toStdString();
    if (target == *path)
        return std::nullopt;
    // A taken name is refused, never replaced; so are "", "." and "..".
    if (platform::renameInPlace(*path, QFile::encodeName(newName).toStdString()) == 0) {
        (void)list.movieOfEntry(row); // its reference finds the file under the new name; its movie follows
        return std::nullopt;
    }
    return support::Notice{support::Told::Failure, "The file name could not be changed to \"%@.\"",
                           "A file by that name may exist, try another name.", {newName}};
}

} // namespace

bool isEditableColumn(const QString& identifier) {
    return identifier == "Title" || identifier == "Filename" || identifier == "Duration";
}

std::optional<support::Notice> setObjectValueForTableColumn(FileList& list, const QString& identifier, int row,
                                                            const QVariant& value) {
    if (row < 0 || row >= list.count() || value.typeId() != QMetaType::QString)
        return std::nullopt;
    const QString text = value.toString();
    if (identifier == "Title")
        setTitle(list, row, text);
    else if (identifier == "Filename")
        return renameEntryFile(list, row, text);
    return std::nullopt;
}

} // namespace filelist
