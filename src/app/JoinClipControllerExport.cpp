// The per-file Export command: every listed file converted on its own through
// the selected export component, into the output folder.

#include "app/JoinClipController.h"
#include "support/DoAlert.h"
#include "join/ExportJob.h"
#include "platform/FileReference.h"
#include "platform/FolderPreferences.h"
#include "support/FormatText.h"
#include "support/LocalizedString.h"

#include <QFile>
#include <QStringList>
#include <cerrno>

namespace app {

void JoinClipController::exportButtonClicked() {
    support::WindowHandle* mainWindow = m_outlets.join.fileListWindow;
    if (m_movies.count() == 0) {
        doAlert("There are no movies to process.", "Add some movies to the file list and try again.",
                mainWindow);
        return;
    }
    if (!m_outputFormat.isExporting()) {
        doAlert("The option to export is not selected.",
                "Open the Preferences window to turn on exporting in 'Output Format'.", mainWindow);
        return;
    }
    if (!checkComponentSelected())
        return;
    // A folder chosen here serves this run only; it is not stored.
    std::optional<std::filesystem::path> folder = outputFolderPath();
    if (!folder)
        folder = m_outlets.join.folderChooser->chooseFolder(
            support::LocalizedString("Choose a destination directory for exported files"),
            support::LocalizedString("Choose"), QString());
    if (folder)
        exportMoviesToFolder(*folder);
}

std::vector<std::filesystem::path>
JoinClipController::exportMoviesToFolder(const std::filesystem::path& folder) {
    const std::optional<join::ComponentDescription> component = m_outputFormat.selected();
    // Without any component there is nothing to export through: told, never passed over.
    if (!component) {
        checkComponentSelected();
        return {};
    }
    if (isRunningJob())
        return {};
    join::ExportRequest request;
    request.folder = folder;
    request.component = *component;
    request.exportSettings = m_outputFormat.selectedSettings();
    request.preserveDates = m_defaults.boolValue(support::Pref::PreserveDates);
    // Each movie read where its file is now, after a rename or a move.
    for (int i = 0; i < m_movies.count(); ++i) {
        const auto source = m_movies.pathOfEntry(i);
        if (auto movie = m_movies.movieOfEntry(i); source && movie)
            request.items.push_back({std::move(movie), *source});
    }

    auto job = std::make_unique<join::ExportJob>(std::move(request));
    join::ExportJob& exporting = *job;
    std::vector<std::filesystem::path> written;
    runJob(std::move(job), writeTitle(nullptr), [this, &exporting, &written, background = m_jobsInBackground] {
        auto done = finishExport(exporting);
        if (!background)
            written = std::move(done);
    });
    return written;
}

std::vector<std::filesystem::path> JoinClipController::finishExport(const join::ExportJob& job) {
    for (const QString& note : job.outcome().notes)
        console().writeLine(note);
    message(QString());
    // A file that could not be written is told, never passed over; a cancel is no failure.
    const QStringList& failed = job.outcome().failed;
    const auto written = static_cast<qsizetype>(job.outcome().written.size());
    const QString folder = QFile::decodeName(job.request().folder.c_str());
    if (job.error() && job.error()->code == ECANCELED)
        message(support::fillFormat(support::LocalizedString(written == 1
                                                                 ? "Export cancelled; %d file was written to %@."
                                                                 : "Export cancelled; %d files were written to %@."),
                                    {QString::number(written), folder}));
    else if (written > 0)
        message(support::fillFormat(
            support::LocalizedString(written == 1 ? "%d file was exported to %@." : "%d files were exported to %@."),
            {QString::number(written), folder}));
    if (!failed.isEmpty())
        support::doErrorAlert(*m_outlets.join.alerts, "%d of the files could not be exported.", "%@", m_outlets.join.fileListWindow,
                {QString::number(failed.size())}, {failed.join(", ")});
    return job.outcome().written;
}

} // namespace app
