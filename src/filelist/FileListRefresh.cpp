// Refreshing an entry's metadata: each value stands alone, so a step that
// cannot obtain its value leaves that key as it was and the next step runs.

#include "filelist/DurationLine.h"
#include "filelist/FileList.h"
#include "platform/Exif.h"
#include "platform/FileDates.h"
#include "platform/FileReference.h"
#include "platform/LocaleFormat.h"
#include "support/UserDefaults.h"

#include <sys/stat.h>

namespace filelist {

namespace {

// Dates are read only for paths that fit the catalog's 1,024-byte buffer (with its terminator).
constexpr std::size_t kMaxDatePathBytes = 1023;

void refreshExif(MovieEntry& entry, const std::filesystem::path& path) {
    const auto text = platform::exifDateTimeDigitized(path);
    if (!text)
        return;
    if (const auto seconds = platform::exifDateSeconds(*text))
        entry.exifDate = *seconds;
    entry.exifDateString = QString::fromStdString(*text);
}

void refreshDates(MovieEntry& entry, const std::filesystem::path& path) {
    if (path.native().size() > kMaxDatePathBytes)
        return;
    if (const auto modified = platform::GetContentModDate(path))
        entry.modificationDate = platform::formatDateTime(modified->seconds, modified->nanoseconds);
    if (const auto created = platform::GetCreationDate(path))
        entry.creationDate = platform::formatDateTime(created->seconds, created->nanoseconds);
}

void refreshSize(MovieEntry& entry, const std::filesystem::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0)
        entry.fileSize = platform::formatNumberWithGrouping(static_cast<std::int64_t>(info.st_size));
}

} // namespace

void FileList::updateMovieInfoAtIndex(int index) {
    if (index < 0 || index >= count())
        return;
    MovieEntry& entry = m_movies[static_cast<std::size_t>(index)];
    const auto path = platform::stringWithAlias(entry.alias);
    if (!path || !entry.qtkMovie)
        return;

    refreshExif(entry, *path);
    refreshDates(entry, *path);
    entry.duration = QString::fromStdString(media::timeToString(entry.qtkMovie->duration()));
    refreshSize(entry, *path);

    m_outlets.movieTable->reloadData();
    updateDurationTextField();
}

bool FileList::needsPreview(int index) const {
    return index >= 0 && index < count() && !m_movies[static_cast<std::size_t>(index)].icon;
}

void FileList::updatePreviewAtIndex(int index) {
    const auto path = pathOfEntry(index);
    if (!path || !m_services.previewImage)
        return;
    if (auto icon = m_services.previewImage(*path)) {
        m_movies[static_cast<std::size_t>(index)].icon = std::move(*icon);
        m_outlets.movieTable->reloadData();
    }
}

bool FileList::setPreviewAtIndex(int index, const QByteArray& alias, QImage preview) {
    if (index < 0 || index >= count() || preview.isNull())
        return false;
    MovieEntry& entry = m_movies[static_cast<std::size_t>(index)];
    if (entry.alias != alias)
        return false;
    entry.icon = std::move(preview);
    m_outlets.movieTable->reloadData();
    return true;
}

void FileList::updateDurationTextField() {
    if (m_movies.empty()) {
        m_outlets.durationTextField->setHidden(true);
        return;
    }
    std::vector<QString> durations;
    durations.reserve(m_movies.size());
    for (const MovieEntry& entry : m_movies)
        if (entry.duration)
            durations.push_back(*entry.duration);
    std::optional<qint64> desired;
    if (m_defaults.isPresent(support::Pref::DesiredDuration))
        desired = m_defaults.integerValue(support::Pref::DesiredDuration);
    const auto line = durationLine(durations, desired);
    if (!line)
        return;
    m_outlets.durationTextField->setText(*line);
    m_outlets.durationTextField->setHidden(false);
}

} // namespace filelist
