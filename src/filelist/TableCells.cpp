#include "filelist/TableCells.h"

#include "filelist/EntryValues.h"
#include "filelist/FileList.h"
#include "filelist/ValueTexts.h"
#include "platform/FileReference.h"
#include "platform/LocaleFormat.h"
#include "support/FormatText.h"
#include "support/LocalizedString.h"

#include <QFile>

namespace filelist {

namespace {

template <class Value, class Write> QVariant text(const std::optional<Value>& value, Write write) {
    return value ? QVariant(write(*value)) : QVariant();
}

QString pathText(const std::filesystem::path& path, bool displayFullPath) {
    return QFile::decodeName((displayFullPath ? path : path.filename()).c_str());
}

QVariant fileNameCell(const FileList& list, const MovieEntry& entry, int row, bool displayFullPath,
                      CellForm form) {
    if (const auto path = list.pathOfEntry(row))
        return pathText(*path, displayFullPath);
    if (form == CellForm::Exact)
        return {};
    const auto recorded = platform::recordedPathOfAlias(entry.alias);
    return support::fillFormat(support::LocalizedString("%@ (missing)"),
                               {recorded ? pathText(*recorded, displayFullPath) : QString()});
}

} // namespace

QVariant objectValueForTableColumn(const FileList& list, const QString& identifier, int row,
                                   bool displayFullPath, CellForm form) {
    if (row < 0 || row >= list.count())
        return {};
    const MovieEntry& entry = list.movies()[static_cast<std::size_t>(row)];
    const bool readable = form == CellForm::Readable;
    if (identifier == "Index")
        return QString::number(row + 1);
    if (identifier == "Icon")
        return entry.icon ? QVariant(*entry.icon) : QVariant();
    if (identifier == "Filename")
        return fileNameCell(list, entry, row, displayFullPath, form);
    if (identifier == "Title")
        return entry.title;
    if (identifier == "Duration")
        return text(entry.duration, [readable](const media::Time& time) {
            return readable ? readableDuration(time) : QString::fromStdString(media::timeToString(time));
        });
    if (identifier == "Date Modified")
        return text(entry.modificationDate, [](const FileTime& date) { return dateText(date); });
    if (identifier == "Date Created")
        return text(entry.creationDate, [](const FileTime& date) { return dateText(date); });
    if (identifier == "Size")
        return text(entry.fileSize, [readable](std::int64_t bytes) {
            return readable ? readableFileSize(bytes) : platform::formatNumberWithGrouping(bytes);
        });
    if (identifier == "EXIF Date Time") {
        // A camera without a clock writes zeros: that text is shown as stored.
        if (readable && dateValue(entry, EntryKey::exifDate))
            return dateText(*entry.exifDate);
        return text(entry.exifDateString, [](const QString& stored) { return stored; });
    }
    return {};
}

} // namespace filelist
