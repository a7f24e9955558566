#pragma once

#include <QDateTime>
#include <filesystem>
#include <functional>
#include <memory>

namespace media {
class Movie;
}

namespace join {

// Tells the current date and time; tests give a clock that stands still.
using Clock = std::function<QDateTime()>;

// Where the movie made from `soundFile` goes: beside it, named as the file
// without its extension, "-", the date and time in the locale's short date
// and medium time styles with "/" and ":" made "-", and ".mov". Two
// conversions within one second therefore name the same file.
std::filesystem::path soundMovieFilename(const std::filesystem::path& soundFile, const QDateTime& now);

// Turns a pure sound file into a movie file of its own: the application's
// picture "Sun.tiff" shown for the sound's whole length, with every sound
// track of the file beside it from time 0. Answers the new movie, opened, or
// none when nothing was converted: no path, a file that does not open or
// that has video, a movie file already at the output name, or a write that
// failed (which leaves no file behind). Shows no message: the caller then
// takes the sound file itself.
std::shared_ptr<media::Movie> createMovieFromSoundFile(const std::filesystem::path& soundFile,
                                                       const Clock& now = &QDateTime::currentDateTime);

} // namespace join
