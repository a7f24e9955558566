#include "filelist/EntryValues.h"

#include "platform/FileReference.h"

#include <QFile>

namespace filelist {

namespace {

// 1904-01-01 00:00:00, the zero of the EXIF date's count of seconds.
constexpr WallClockTime kNoExifDate{std::chrono::seconds(-2'082'844'800)};

} // namespace

std::optional<QString> textValue(const MovieEntry& entry, std::string_view key) {
    if (key == EntryKey::title)
        return entry.title;
    if (key == EntryKey::alias) {
        const auto path = platform::stringWithAlias(entry.alias);
        return path ? std::optional(QFile::decodeName(path->c_str())) : std::nullopt;
    }
    return std::nullopt;
}

std::optional<std::chrono::nanoseconds> dateValue(const MovieEntry& entry, std::string_view key) {
    if (key == EntryKey::exifDate) {
        if (!entry.exifDate || *entry.exifDate == kNoExifDate)
            return std::nullopt;
        return entry.exifDate->time_since_epoch();
    }
    const std::optional<FileTime>* date = key == EntryKey::modificationDate ? &entry.modificationDate
                                          : key == EntryKey::creationDate   ? &entry.creationDate
                                                                            : nullptr;
    if (!date || !*date)
        return std::nullopt;
    return (*date)->time_since_epoch();
}

} // namespace filelist
