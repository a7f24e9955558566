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
// folder. A value that is not text, and any other column, is ignored (a new
// "Duration" rewrites the movie's file: the controller's rescale job). A
// refused rename beeps and shows "The file name could not be changed to ..."
// as a sheet on mainWindow.
void setObjectValueForTableColumn(FileList& list, const QString& identifier, int row, const QVariant& value,
                                  support::AlertPresenter& alerts, support::WindowHandle* mainWindow);

// Which columns take edits.
bool isEditableColumn(const QString& identifier);

} // namespace filelist
