#pragma once

#include <QString>
#include <optional>

namespace filelist {

class FileList;

// The tooltip of a cell: in the Filename column the other form of the name
// (the file name when the cell shows the full path, the full path when it
// shows the name), in the Date Modified column the full path; none in other
// columns or when the entry's file is gone.
std::optional<QString> toolTipForCell(const FileList& list, const QString& identifier, int row,
                                      bool displayFullPath);

} // namespace filelist
