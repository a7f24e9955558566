#include "filelist/TableToolTips.h"

#include "filelist/FileList.h"
#include "filelist/TableCells.h"
#include "platform/FileReference.h"
#include "support/FormatText.h"
#include "support/LocalizedString.h"

#include <QFile>

namespace filelist {

std::optional<QString> toolTipForCell(const FileList& list, const QString& identifier, int row,
                                      bool displayFullPath) {
    if (row < 0 || row >= list.count())
        return std::nullopt;
    const auto path = list.pathOfEntry(row);
    if (!path) {
        if (identifier != "Filename")
            return std::nullopt;
        const auto recorded =
            platform::recordedPathOfAlias(list.movies()[static_cast<std::size_t>(row)].alias);
        return support::fillFormat(support::LocalizedString("The file cannot be found. It was at %@."),
                                   {recorded ? QFile::decodeName(recorded->c_str()) : QString()});
    }
    const QString fullPath = QFile::decodeName(path->c_str());
    if (identifier == "Filename")
        return displayFullPath ? QFile::decodeName(path->filename().c_str()) : fullPath;
    if (identifier == "Date Modified")
        return fullPath;
    if (identifier == "Duration" || identifier == "EXIF Date Time") {
        const QString exact = objectValueForTableColumn(list, identifier, row, displayFullPath).toString();
        return exact.isEmpty() ? std::nullopt : std::optional(exact);
    }
    if (identifier == "Size") {
        const QString bytes = objectValueForTableColumn(list, identifier, row, displayFullPath).toString();
        if (bytes.isEmpty())
            return std::nullopt;
        return support::fillFormat(support::LocalizedString("%@ bytes"), {bytes});
    }
    return std::nullopt;
}

} // namespace filelist
