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
    support::doAlert(alerts, "The file name could not be changed to \"%@.\"",
                     "A file by that name may exist, try another name.", mainWindow, {newName});
}

// Scales the whole movie to `typed` and writes it back to its file. The file
// is checked for writing before anything changes, and a write that fails
// takes the scaling back, so the open movie never differs from its file.
bool rescaleEntryMovie(FileList& list, int row, const QString& typed) {
    const auto path = list.pathOfEntry(row);
    const std::shared_ptr<media::Movie> movie = list.movies()[static_cast<std::size_t>(row)].qtkMovie;
    if (!path || !movie)
        return false;
    const auto newDuration = media::parseTime(typed.trimmed().toStdString());
    if (!newDuration || newDuration->value <= 0 || !movie->canUpdateMovieFile())
        return false;
    const media::Time oldDuration = movie->duration();
    if (oldDuration.value <= 0 || media::isIndefinite(oldDuration))
        return false;

    const bool wasEditable = movie->isEditable();
    movie->setEditable(true);
    const media::Time zero = media::makeTime(0, oldDuration.scale);
    bool done = movie->scaleSegment(media::makeTimeRange(zero, oldDuration), *newDuration);
    if (done && !movie->updateMovieFile()) {
        (void)movie->scaleSegment(media::makeTimeRange(zero, *newDuration), oldDuration);
        done = false;
    }
    movie->setEditable(wasEditable);
    if (done)
        list.updateMovieInfoAtIndex(row); // the new duration, size and dates of the rewritten file
    return done;
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
    } else if (identifier == "Duration") {
        if (!rescaleEntryMovie(list, row, text))
            support::doAlert(alerts, "The duration was not modified.", "Make sure the file is a movie.",
                             mainWindow);
    }
}

} // namespace filelist
