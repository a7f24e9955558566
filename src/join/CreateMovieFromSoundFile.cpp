#include "join/CreateMovieFromSoundFile.h"

#include "join/ApplicationImage.h"
#include "media/Movie.h"
#include "media/PictureWithSound.h"
#include "platform/LocaleFormat.h"
#include "support/StringExtensions.h"

#include <QFile>
#include <system_error>

namespace join {

namespace {

constexpr const char* kStillPictureName = "Sun.tiff";

bool somethingIsAt(const std::filesystem::path& path) {
    std::error_code error;
    // A dangling symbolic link is something too: writing there would follow it.
    return std::filesystem::symlink_status(path, error).type() != std::filesystem::file_type::not_found;
}

} // namespace

std::filesystem::path soundMovieFilename(const std::filesystem::path& soundFile, const QDateTime& now) {
    const QString stamp = support::cleanForFilename(platform::formatDateTime(now.toSecsSinceEpoch()));
    std::filesystem::path withoutExtension = soundFile;
    withoutExtension.replace_extension();
    return withoutExtension.native() + "-" + QFile::encodeName(stamp).toStdString() + ".mov";
}

std::shared_ptr<media::Movie> createMovieFromSoundFile(const std::filesystem::path& soundFile,
                                                       const Clock& now) {
    if (soundFile.empty())
        return nullptr;
    auto sound = media::Movie::open(soundFile);
    if (!sound)
        return nullptr;
    const media::Time duration = (*sound)->duration();
    if ((*sound)->hasTrackOfType(media::MediaType::Video))
        return nullptr;

    const std::filesystem::path output =
        soundMovieFilename(soundFile, now ? now() : QDateTime::currentDateTime());
    if (somethingIsAt(output))
        return nullptr;
    const auto picture = applicationImageNamed(kStillPictureName);
    if (!picture)
        return nullptr;
    // Unlike a movie built in place, a failed write leaves no file: the
    // caller then lists the sound file rather than an empty movie.
    if (!media::writePictureWithSound(output, *picture, duration, **sound))
        return nullptr;
    auto movie = media::Movie::open(output);
    if (!movie)
        return nullptr;
    (*movie)->setEditable(true);
    return *movie;
}

} // namespace join
