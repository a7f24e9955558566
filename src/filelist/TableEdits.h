#pragma once

#include "support/Notice.h"

#include <QString>
#include <QVariant>
#include <optional>

namespace filelist {

class FileList;

// Applies what the user typed into a cell of the file table, by the column's
// identifier: "Title" sets the title, "Filename" renames the file in its
// folder. A value that is not text, and any other column, is ignored (a new
// "Duration" rewrites the movie's file: app::WriteCommands' rescale job).
// A refused rename answers what to tell: "The file name could not be changed to ...".
[[nodiscard]] std::optional<support::Notice> setObjectValueForTableColumn(FileList& list, const QString& identifier,
                                                                          int row, const QVariant& value);

// Which columns take edits.
bool isEditableColumn(const QString& identifier);

} // namespace filelist
