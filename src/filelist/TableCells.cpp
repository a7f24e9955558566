#include "filelist/TableCells.h"

#include "filelist/FileList.h"

#include <QFile>

namespace filelist {

namespace {

QVariant text(const std::optional<QString>& value) {
    return value ? QVariant(*value) : QVariant();
}

} // namespace

QVariant objectValueForTableColumn(const FileList& list, const QString& identifier, int row,
                                   bool displayFullPath) {
    if (row < 0 || row >= list.count())
        return {};
    const MovieEntry& entry = list.movies()[static_cast<std::size_t>(row)];
    if (identifier == "Index")
        return QString::number(row + 1);
    if (identifier == "Icon")
        return entry.icon ? QVariant(*entry.icon) : QVariant();
    if (identifier == "Filename") {
        const auto path = list.pathOfEntry(row);
        if (!path)
            return {};
        return QFile::decodeName((displayFullPath ? *path : path->filename()).c_str());
    }
    if (identifier == "Title")
        return entry.title;
    if (identifier == "Duration")
        return text(entry.duration);
    if (identifier == "Date Modified")
        return text(entry.modificationDate);
    if (identifier == "Date Created")
        return text(entry.creationDate);
    if (identifier == "Size")
        return text(entry.fileSize);
    if (identifier == "EXIF Date Time")
        return text(entry.exifDateString);
    return {};
}

} // namespace filelist
