#pragma once

#include <QString>
#include <optional>

namespace filelist {

class FileList;

// The tooltip of a cell: in the Filename column the other form of the name
// (the file name when the cell shows the full path, the full path when it
// shows the name), in the Date Modified column the full path; the exact
// values behind the readable cells (the time text of the duration, the byte
// count of the size, the EXIF text as stored). For a file that cannot be
// found, the Filename tooltip says so with its last known path.
std::optional<QString> toolTipForCell(const FileList& list, const QString& identifier, int row,
                                      bool displayFullPath);

} // namespace filelist
