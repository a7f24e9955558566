#pragma once

#include "media/Movie.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

namespace filelist {

// The names of a movie entry's values, as the table columns, saved lists and
// sorts know them.
namespace EntryKey {
inline constexpr const char* alias = "alias";
inline constexpr const char* qtkMovie = "qtkMovie";
inline constexpr const char* title = "title";
inline constexpr const char* duration = "duration";
inline constexpr const char* modificationDate = "modification date";
inline constexpr const char* creationDate = "creation date";
inline constexpr const char* exifDate = "exif date";
inline constexpr const char* exifDateString = "exif date string";
inline constexpr const char* fileSize = "file size";
inline constexpr const char* icon = "icon";
} // namespace EntryKey

// One listed file. alias, qtkMovie and title are set when the entry is made;
// the other values appear with the first refresh that obtains them, and a
// later refresh replaces a value only with a new one, never removes it.
struct MovieEntry final {
    QByteArray alias;                        // file reference data of the opened file
    std::shared_ptr<media::Movie> qtkMovie;  // open for the life of the entry
    QString title;                           // chapter title; any text, the empty one too
    std::optional<QString> duration;         // time text of the movie's duration
    std::optional<QString> modificationDate; // display text, short date + medium time
    std::optional<QString> creationDate;     // display text, short date + medium time
    std::optional<std::int64_t> exifDate;    // seconds since 1904-01-01, wall clock
    std::optional<QString> exifDateString;   // EXIF DateTimeDigitized as stored
    std::optional<QString> fileSize;         // bytes, grouped with ","
    std::optional<QImage> icon;              // preview image, made when first shown
};

} // namespace filelist
