#pragma once

#include "media/Movie.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>

namespace filelist {

// The names of a movie entry's values, as the table columns, saved lists and
// sorts know them.
namespace EntryKey {
inline constexpr const char* alias = "alias";
inline constexpr const char* movie = "movie";
inline constexpr const char* title = "title";
inline constexpr const char* duration = "duration";
inline constexpr const char* modificationDate = "modification date";
inline constexpr const char* creationDate = "creation date";
inline constexpr const char* exifDate = "exif date";
inline constexpr const char* exifDateString = "exif date string";
inline constexpr const char* fileSize = "file size";
inline constexpr const char* icon = "icon";
} // namespace EntryKey

// An instant a file system keeps: nanoseconds since 1970-01-01 UTC.
using FileTime = std::chrono::sys_time<std::chrono::nanoseconds>;
// A camera's clock reading: a wall-clock time without a time zone.
using WallClockTime = std::chrono::local_seconds;

// One listed file. alias, movie and title are set when the entry is made;
// the other values appear with the first refresh that obtains them, and a
// later refresh replaces a value only with a new one, never removes it.
// Values are kept as values: only the table and the command line turn them
// into text.
struct MovieEntry final {
    QByteArray alias;                         // file reference data of the opened file
    std::shared_ptr<media::Movie> movie;   // open for the life of the entry
    QString title;                            // chapter title; any text, the empty one too
    std::optional<media::Time> duration;      // the movie's duration
    std::optional<FileTime> modificationDate; // content modification time
    std::optional<FileTime> creationDate;     // birth time, where the file system keeps one
    std::optional<WallClockTime> exifDate;    // the EXIF date read as a clock reading
    std::optional<QString> exifDateString;    // the EXIF date text as stored
    std::optional<std::int64_t> fileSize;     // bytes
    std::optional<QImage> icon;               // preview image, made when first shown
};

} // namespace filelist
