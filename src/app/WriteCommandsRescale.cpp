// The Duration cell of the file table: a typed duration rescales the entry's
// movie and rewrites its file, as a job.

#include "app/Session.h"
#include "app/WriteCommands.h"
#include "filelist/ValueTexts.h"
#include "join/MovieRescaleJob.h"
#include "support/FormatText.h"
#include "support/LocalizedString.h"

#include <QFile>
#include <cerrno>

namespace app {

namespace {

const support::Notice kNotRescaled{support::Told::Failure, "The duration was not modified.", "Make sure the file is a movie."};

QString nameOf(const std::filesystem::path& path) {
    return QFile::decodeName(path.filename().c_str());
}

// The status line of a rescale that was written: the new duration, and where the original went.
QString rescaledLine(const join::MovieRescaleJob& job, const std::filesystem::path& file) {
    const auto& original = job.outcome().original;
    const QString where = !original          ? QString()
                          : original->inTrash ? support::LocalizedString(" The original is in the trash.")
                                              : support::fillFormat(support::LocalizedString(
                                                                        " The original was kept as \"%@\"."),
                                                                    {nameOf(original->path)});
    return support::fillFormat(support::LocalizedString("\"%@\" now lasts %@."),
                               {nameOf(file), filelist::readableDuration(job.request().newDuration)}) +
           where;
}

} // namespace

void WriteCommands::rescaleEntry(int row, const QString& typed) {
    filelist::FileList& list = m_session.fileList();
    if (row < 0 || row >= list.count() || m_jobs.isRunning())
        return;
    const std::shared_ptr<media::Movie> movie = list.movies()[static_cast<std::size_t>(row)].movie;
    const auto newDuration = media::parseTime(typed.trimmed().toStdString());
    if (!list.pathOfEntry(row) || !movie || !newDuration || newDuration->value <= 0) {
        emit noticed(kNotRescaled);
        return;
    }
    // The user was asked before the file is changed; the former file can be restored from the trash.
    auto job = std::make_unique<join::MovieRescaleJob>(
        join::MovieRescaleRequest{.movie = movie, .newDuration = *newDuration, .keepOriginalInTrash = true});
    join::MovieRescaleJob& rescaling = *job;
    (void)m_jobs.start(std::move(job), writeTitle(), [this, &rescaling, movie] {
        // The entry shows what its movie now holds, found again by its movie.
        filelist::FileList& list = m_session.fileList();
        for (int i = 0; i < list.count(); ++i)
            if (list.movies()[static_cast<std::size_t>(i)].movie == movie)
                list.updateMovieInfoAtIndex(i, movie->fileName());
        const auto& error = rescaling.error();
        if (!error)
            emit statusChanged(rescaledLine(rescaling, movie->fileName()));
        else if (error->code == ECANCELED)
            emit statusChanged(support::LocalizedString("The duration was not changed."));
        else // the reason is kept: the file may be a movie that could not be written
            emit noticed({support::Told::Failure, kNotRescaled.message, "%@", {}, {QString::fromStdString(error->message)}});
    });
}

} // namespace app
