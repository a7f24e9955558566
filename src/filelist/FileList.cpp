#include "filelist/FileList.h"

#include "platform/FileReference.h"
#include "support/EraseRows.h"
#include "support/FormatText.h"
#include "support/LocalizedString.h"
#include "support/UserDefaults.h"

#include <QFile>
#include <algorithm>

namespace filelist {

FileList::FileList(support::UserDefaults& defaults, Services services, QObject* parent)
    : QObject(parent), m_defaults(defaults), m_services(std::move(services)) {
    m_movies.reserve(50);
}

std::optional<std::filesystem::path> FileList::pathOfEntry(int index) const {
    if (index < 0 || index >= count())
        return std::nullopt;
    return platform::stringWithAlias(m_movies[static_cast<std::size_t>(index)].alias);
}

void FileList::insertEntry(const QByteArray& alias, int index, const std::optional<QString>& title) {
    if (alias.isEmpty())
        return;
    const auto path = platform::stringWithAlias(alias);
    if (!path) {
        if (const auto recorded = platform::recordedPathOfAlias(alias))
            m_leftOut.push_back({*recorded, support::LocalizedString("The file cannot be found.")});
        return;
    }

    std::filesystem::path moviePath = *path;
    if (m_defaults.boolValue(support::Pref::ConvertSoundToMovie) && m_services.createMovieFromSoundFile) {
        if (auto converted = m_services.createMovieFromSoundFile(*path)) {
            emit statusChanged("Converted sound to movie");
            if (!converted->fileName().empty())
                moviePath = converted->fileName();
        }
    }

    // Opening succeeds exactly when the quick probe would, so one open answers both.
    auto movie = media::Movie::open(moviePath);
    if (!movie) {
        m_leftOut.push_back(
            {*path, support::fillFormat(
                        support::LocalizedString("It does not open as a movie, picture or sound (%@)."),
                        {QString::fromStdString(movie.error().message)})});
        return;
    }
    emit statusChanged(support::fillFormat("Created movie: %@", {QFile::decodeName(moviePath.filename().c_str())}));

    QByteArray reference = platform::getAlias(moviePath);
    if (reference.isEmpty())
        return;

    index = std::clamp(index, 0, count());
    MovieEntry entry;
    entry.alias = std::move(reference);
    entry.movie = *movie;
    entry.title = title ? *title : defaultChapterTitle(**movie, index, moviePath);
    m_movies.insert(m_movies.begin() + index, std::move(entry));
    updateMovieInfoAtIndex(index);
}

QString defaultChapterTitle(const media::Movie& movie, int index, const std::optional<std::filesystem::path>& file) {
    const QString displayName = movie.displayName();
    if (!displayName.isEmpty())
        return displayName;
    if (file && !file->filename().empty())
        return QFile::decodeName(file->filename().c_str());
    return support::fillFormat(support::LocalizedString("Chapter %d"), {QString::number(index + 1)});
}

void FileList::changeEntries(const std::function<void(std::vector<MovieEntry>& entries)>& change) {
    change(m_movies);
    emit changed();
}

void FileList::removeAll() {
    m_movies.clear();
    emit changed();
    updateTotalDuration();
}

void FileList::removeRows(std::vector<int> rows) {
    support::eraseRows(m_movies, std::move(rows));
    emit changed();
    updateTotalDuration();
}

} // namespace filelist
