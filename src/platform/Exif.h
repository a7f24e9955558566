#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace platform {

// The EXIF date text of a picture, exactly as stored (normally
// "YYYY:MM:DD HH:MM:SS"), read with Exiv2: DateTimeDigitized, else
// DateTimeOriginal, else the picture's DateTime. None for a file that is not
// a picture, a picture without any of them, or a file that cannot be read. Only files that begin like a
// picture format Exiv2 reads EXIF from (JPEG, TIFF and the raw formats built on it, PNG, WebP, HEIF/AVIF,
// JPEG 2000, Photoshop, Fujifilm, Canon CRW, Minolta MRW) are handed to Exiv2: movies and sound files are
// turned away after reading their first bytes, so a list of large movies costs one small read each.
[[nodiscard]] std::optional<std::string> exifDate(const std::filesystem::path& file);

// Seconds since 1904-01-01 00:00:00 (no time zone, proleptic Gregorian
// calendar) of an EXIF date text, counted as the Mac's LongDateToSeconds
// counts them:
// - the text splits at blanks (runs of ' ', as strtok splits) into a date part
//   and a time part; without both, none;
// - the date part splits at ':' (again as strtok: runs of ':' are one
//   separator, leading ones are skipped) into year, month and day, the time
//   part into hour, minute and second; pieces that are missing count as 0;
// - each piece is read as atoi reads: leading blanks, an optional sign, the
//   digits that follow, nothing else ("7a" is 7, "a7" is 0); values beyond the
//   int range are clamped to it;
// - fields out of range carry as calendar arithmetic does: month 13 is
//   January of the next year, month 0 December of the year before, day 0 the
//   last day of the month before, hour 24 the next day, and so on.
// "2009:07:14 18:03:22" is 3330439402; dates before 1904 are negative.
[[nodiscard]] std::optional<std::int64_t> exifDateSeconds(const std::string& text);

} // namespace platform
