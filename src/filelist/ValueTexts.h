#pragma once

#include "filelist/MovieEntry.h"

#include <QString>
#include <cstdint>

namespace filelist {

// How the window writes an entry's values for people to read. The exact
// forms (the time text, the byte count) stay in tooltips, edits and files.

// A duration as people read it: minutes, seconds and hundredths below an
// hour ("0:27.06", "12:03.50"), hours, minutes and whole seconds from an
// hour on ("1:02:03"), rounded to the nearest shown unit. "indefinite" for
// an indefinite time.
QString readableDuration(const media::Time& duration);

// A file size in the locale's number form with the SI units a file manager
// shows: "512 bytes", "1.5 kB", "18.9 MB", "2.1 GB".
QString readableFileSize(std::int64_t bytes);

// A file system date in the locale's short date and medium time, in the
// user's time zone.
QString dateText(const FileTime& date);
// A camera's clock reading in the same form, shown as the camera read it.
QString dateText(const WallClockTime& date);

} // namespace filelist
