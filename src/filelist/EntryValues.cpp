#include "filelist/EntryValues.h"

#include "platform/FileReference.h"
#include "platform/LocaleFormat.h"

#include <QFile>

namespace filelist {

namespace {

const std::optional<QString>* storedDateText(const MovieEntry& entry, std::string_view key) {
    if (key == EntryKey::modificationDate)
        return &entry.modificationDate;
    if (key == EntryKey::creationDate)
        return &entry.creationDate;
    return nullptr;
}

} // namespace

std::optional<QString> textValue(const MovieEntry& entry, std::string_view key) {
    if (key == EntryKey::title)
        return entry.title;
    if (key == EntryKey::alias) {
        const auto path = platform::stringWithAlias(entry.alias);
        return path ? std::optional(QFile::decodeName(path->c_str())) : std::nullopt;
    }
    if (const auto* text = storedDateText(entry, key))
        return *text;
    return std::nullopt;
}

std::optional<std::int64_t> dateValue(const MovieEntry& entry, std::string_view key) {
    if (key == EntryKey::exifDate)
        return entry.exifDate && *entry.exifDate != 0 ? entry.exifDate : std::nullopt;
    const auto* text = storedDateText(entry, key);
    if (!text || !*text)
        return std::nullopt;
    return platform::parseDateTime(**text);
}

} // namespace filelist
