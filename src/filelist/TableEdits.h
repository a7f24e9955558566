#pragma once

#include <QString>
#include <QVariant>

namespace support {
class AlertPresenter;
class WindowHandle;
} // namespace support

namespace filelist {

class FileList;

// Applies what the user typed into a cell of the file table, by the column's
// identifier: "Title" sets the title, "Filename" renames the file in its
// folder, "Duration" rescales the movie and writes it back to its file. A
// value that is not text, and any other column, is ignored. A refused rename
// beeps and shows "The file name could not be changed to ..." as a sheet on
// mainWindow; a duration that cannot be applied shows "The duration was not
// modified." there.
void setObjectValueForTableColumn(FileList& list, const QString& identifier, int row, const QVariant& value,
                                  support::AlertPresenter& alerts, support::WindowHandle* mainWindow);

// Which columns take edits.
bool isEditableColumn(const QString& identifier);

} // namespace filelist
