#pragma once

#include "media/Error.h"
#include "media/Time.h"

#include <QByteArray>
#include <expected>
#include <filesystem>

namespace media {

class Movie;

// Writes a new QuickTime movie at `destination`: `picture` (the bytes of an
// image file, e.g. TIFF or PNG) shown from time 0 for `duration` as one
// MPEG-4 Part 2 video sample ('mp4v', high quality), and every sound track of
// `sound`, each from time 0 for at most `duration`. A sound track in a codec
// that QuickTime files hold (AAC, MP3, PCM, ALAC, AC-3) is copied unchanged;
// any other is encoded to AAC.
//
// `sound` must be a movie as opened from one file (each sound track one edit
// over one stream of the same file); anything else is refused with EINVAL.
// The movie is written to a temporary file beside `destination` and renamed
// into place only when complete: a failure leaves nothing behind, and a file
// already at `destination` is never replaced (EEXIST).
[[nodiscard]] std::expected<void, Error> writePictureWithSound(const std::filesystem::path& destination,
                                                               const QByteArray& picture,
                                                               const Time& duration, const Movie& sound);

} // namespace media
