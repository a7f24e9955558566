// The Duration cell of the file table: a typed duration rescales the entry's
// movie and rewrites its file, as a job.

#include "app/JoinClipController.h"
#include "support/DoAlert.h"
#include "filelist/ValueTexts.h"
#include "join/MovieRescaleJob.h"
#include "support/FormatText.h"
#include "support/LocalizedString.h"

#include <QFile>

#include <cerrno>

namespace app {

void JoinClipController::rescaleEntry(int row, const QString& typed) {
    if (row < 0 || row >= m_movies.count() || isRunningJob())
        return;
    const std::shared_ptr<media::Movie> movie = m_movies.movies()[static_cast<std::size_t>(row)].movie;
    const auto newDuration = media::parseTime(typed.trimmed().toStdString());
    if (!m_movies.pathOfEntry(row) || !movie || !newDuration || newDuration->value <= 0) {
        support::doErrorAlert(*m_outlets.join.alerts, "The duration was not modified.", "Make sure the file is a movie.",
                m_outlets.join.fileListWindow);
        return;
    }
    // The user was asked before the file is changed; the former file can be restored from the trash.
    auto job = std::make_unique<join::MovieRescaleJob>(
        join::MovieRescaleRequest{.movie = movie, .newDuration = *newDuration, .keepOriginalInTrash = true});
    join::MovieRescaleJob& rescaling = *job;
    runJob(std::move(job), writeTitle(nullptr), [this, &rescaling, movie] {
        // The entry shows what its movie now holds, found again by its movie.
        for (int i = 0; i < m_movies.count(); ++i)
            if (m_movies.movies()[static_cast<std::size_t>(i)].movie == movie)
                m_movies.followRewrittenFile(i, movie->fileName());
        const auto& error = rescaling.error();
        if (!error) {
            const QString name = QFile::decodeName(movie->fileName().filename().c_str());
            const auto& original = rescaling.outcome().original;
            const QString where = !original            ? QString()
                                  : original->inTrash ? support::LocalizedString(" The original is in the trash.")
                                                      : support::fillFormat(support::LocalizedString(
                                                                                " The original was kept as \"%@\"."),
                                                                            {QFile::decodeName(
                                                                                original->path.filename().c_str())});
            message(support::fillFormat(support::LocalizedString("\"%@\" now lasts %@."),
                                        {name, filelist::readableDuration(rescaling.request().newDuration)}) +
                    where);
        } else if (error->code == ECANCELED)
            message(support::LocalizedString("The duration was not changed."));
        if (error && error->code != ECANCELED)
            support::doErrorAlert(*m_outlets.join.alerts, "The duration was not modified.", "Make sure the file is a movie.",
                    m_outlets.join.fileListWindow);
    });
}

} // namespace app
