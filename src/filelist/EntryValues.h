#pragma once

#include "filelist/MovieEntry.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <string_view>

namespace filelist {

// The values the sorts order entries by, taken from an entry under one of
// its keys (EntryKey). None when the entry has no usable value there.

// The text under key: "title", "modification date" and "creation date" as
// stored, and "alias" as the full path of the file it refers to now (none
// when the file cannot be found).
std::optional<QString> textValue(const MovieEntry& entry, std::string_view key);

// The instant under key, in seconds: "exif date" as stored, but an EXIF date
// of 0 counts as none (the camera wrote no date); "modification date" and
// "creation date" read back from their texts with the locale formats that
// wrote them (platform::parseDateTime), none when a text does not read back.
std::optional<std::int64_t> dateValue(const MovieEntry& entry, std::string_view key);

} // namespace filelist
