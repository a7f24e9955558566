// Refreshing an entry's metadata: each value stands alone, so a step that
// cannot obtain its value leaves that key as it was and the next step runs.

#include "filelist/DurationLine.h"
#include "filelist/FileList.h"
#include "platform/Exif.h"
#include "platform/FileDates.h"
#include "platform/FileReference.h"
#include "support/UserDefaults.h"

#include <sys/stat.h>

namespace filelist {

namespace {

// Dates are read only for paths that fit the catalog's 1,024-byte buffer (with its terminator).
constexpr std::size_t kMaxDatePathBytes = 1023;

// Seconds from 1904-01-01 (the EXIF count's zero) to 1970-01-01.
constexpr std::int64_t kSecondsFrom1904To1970 = 2'082'844'800;

// The movie reads its samples by the name it was opened with: after a
// rename or a move it is opened again where its file is now. Should that
// fail, the old movie stays (the join then says which file it cannot read).
void followMovedFile(MovieEntry& entry, const std::filesystem::path& path) {
    if (!entry.movie || entry.movie->fileName().empty() || entry.movie->fileName() == path)
        return;
    if (auto reopened = media::Movie::open(path))
        entry.movie = std::move(*reopened);
}

void refreshExif(MovieEntry& entry, const std::filesystem::path& path) {
    const auto text = platform::exifDate(path);
    if (!text)
        return;
    if (const auto seconds = platform::exifDateSeconds(*text))
        entry.exifDate = WallClockTime(std::chrono::seconds(*seconds - kSecondsFrom1904To1970));
    entry.exifDateString = QString::fromStdString(*text);
}

FileTime fileTime(const platform::CatalogDate& date) {
    return FileTime(std::chrono::seconds(date.seconds) + std::chrono::nanoseconds(date.nanoseconds));
}

void refreshDates(MovieEntry& entry, const std::filesystem::path& path) {
    if (path.native().size() > kMaxDatePathBytes)
        return;
    if (const auto modified = platform::GetContentModDate(path))
        entry.modificationDate = fileTime(*modified);
    if (const auto created = platform::GetCreationDate(path))
        entry.creationDate = fileTime(*created);
}

void refreshSize(MovieEntry& entry, const std::filesystem::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0)
        entry.fileSize = static_cast<std::int64_t>(info.st_size);
}

} // namespace

std::shared_ptr<media::Movie> FileList::movieOfEntry(int index) {
    if (index < 0 || index >= count())
        return nullptr;
    MovieEntry& entry = m_movies[static_cast<std::size_t>(index)];
    if (const auto path = platform::stringWithAlias(entry.alias))
        followMovedFile(entry, *path);
    return entry.movie;
}

void FileList::followMovedFiles() {
    for (int i = 0; i < count(); ++i)
        (void)movieOfEntry(i);
    emit changed();
}

void FileList::updateMovieInfoAtIndex(int index, const std::optional<std::filesystem::path>& rewrittenAt) {
    if (index < 0 || index >= count())
        return;
    MovieEntry& entry = m_movies[static_cast<std::size_t>(index)];
    if (rewrittenAt)
        if (QByteArray reference = platform::getAlias(*rewrittenAt); !reference.isEmpty())
            entry.alias = std::move(reference);
    const auto path = platform::stringWithAlias(entry.alias);
    if (!path || !entry.movie)
        return;
    followMovedFile(entry, *path);

    refreshExif(entry, *path);
    refreshDates(entry, *path);
    entry.duration = entry.movie->duration();
    refreshSize(entry, *path);

    emit changed();
    updateTotalDuration();
}

bool FileList::setPreviewAtIndex(int index, const QByteArray& alias, QImage preview) {
    if (index < 0 || index >= count() || preview.isNull())
        return false;
    MovieEntry& entry = m_movies[static_cast<std::size_t>(index)];
    if (entry.alias != alias || entry.icon)
        return false;
    entry.icon = std::move(preview);
    emit changed();
    return true;
}

void FileList::updateTotalDuration() {
    if (m_movies.empty()) {
        m_totalDuration.reset();
        emit totalDurationChanged();
        return;
    }
    std::vector<media::Time> durations;
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
    m_totalDuration = *line;
    emit totalDurationChanged();
}

} // namespace filelist
