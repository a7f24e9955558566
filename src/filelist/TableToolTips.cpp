#include "filelist/TableToolTips.h"

#include "filelist/FileList.h"

#include <QFile>

namespace filelist {

std::optional<QString> toolTipForCell(const FileList& list, const QString& identifier, int row,
                                      bool displayFullPath) {
    const auto path = list.pathOfEntry(row);
    if (!path)
        return std::nullopt;
    const QString fullPath = QFile::decodeName(path->c_str());
    if (identifier == "Filename")
        return displayFullPath ? QFile::decodeName(path->filename().c_str()) : fullPath;
    if (identifier == "Date Modified")
        return fullPath;
    return std::nullopt;
}

} // namespace filelist
