#pragma once

#include "filelist/MovieEntry.h"

#include <QString>
#include <chrono>
#include <optional>
#include <string_view>

namespace filelist {

// The values the sorts order entries by, taken from an entry under one of
// its keys (EntryKey). None when the entry has no usable value there.

// The text under key: "title" as stored, and "alias" as the full path of the
// file it refers to now (none when the file cannot be found).
std::optional<QString> textValue(const MovieEntry& entry, std::string_view key);

// The date under key, as time since 1970-01-01: "modification date" and
// "creation date" as the file system gave them; "exif date" as the camera's
// clock read, but an EXIF date at 1904-01-01 00:00:00 (the zero a camera
// writes when it had no date) counts as none.
std::optional<std::chrono::nanoseconds> dateValue(const MovieEntry& entry, std::string_view key);

} // namespace filelist
