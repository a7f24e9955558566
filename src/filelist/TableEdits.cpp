#include "filelist/TableEdits.h"

#include "filelist/FileList.h"
#include "media/Movie.h"
#include "platform/RenameInPlace.h"
#include "support/DoAlert.h"

#include <QFile>
#include <cstdio>

namespace filelist {

namespace {

void renameEntryFile(FileList& list, int row, const QString& typed, support::AlertPresenter& alerts,
                     support::WindowHandle* mainWindow) {
    const auto path = list.pathOfEntry(row);
    if (!path)
        return;
    // Only the last part of a typed path counts: the file stays in its folder.
    const QString newName = typed.section('/', -1);
    const std::filesystem::path target = path->parent_path() / QFile::encodeName(newName).toStdString();
    if (target == *path)
        return;
    // A taken name is refused, never replaced; so are "", "." and "..".
    if (platform::renameInPlace(*path, QFile::encodeName(newName).toStdString()) == 0)
        return (void)list.movieOfEntry(
            row); // its reference finds the file under the new name; its movie follows
    // doAlert sounds the beep before the sheet.
    support::doErrorAlert(alerts, "The file name could not be changed to \"%@.\"",
                     "A file by that name may exist, try another name.", mainWindow, {newName});
}

} // namespace

bool isEditableColumn(const QString& identifier) {
    return identifier == "Title" || identifier == "Filename" || identifier == "Duration";
}

void setObjectValueForTableColumn(FileList& list, const QString& identifier, int row, const QVariant& value,
                                  support::AlertPresenter& alerts, support::WindowHandle* mainWindow) {
    if (row < 0 || row >= list.count() || value.typeId() != QMetaType::QString)
        return;
    const QString text = value.toString();
    if (identifier == "Title") {
        list.setTitle(row, text);
    } else if (identifier == "Filename") {
        renameEntryFile(list, row, text, alerts, mainWindow);
    }
}

} // namespace filelist
