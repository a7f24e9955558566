// The per-file Export command: every listed file converted on its own through
// the selected export component, into the output folder.

#include "app/JoinClipController.h"
#include "app/CommandRequests.h"
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

void JoinClipController::exportFiles() {
    support::WindowHandle* mainWindow = m_outlets.join.fileListWindow;
    if (m_movies.count() == 0) {
        doAlert(noMoviesRefusal().message, noMoviesRefusal().informative, mainWindow);
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
    // Without any component there is nothing to export through: told, never passed over.
    if (!m_outputFormat.selected()) {
        checkComponentSelected();
        return {};
    }
    if (isRunningJob())
        return {};
    join::ExportRequest request = makeExportRequest(m_movies, m_outputFormat, m_defaults, folder);

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
    if (const auto summary = exportSummary(job))
        message(*summary);
    if (!failed.isEmpty())
        support::doErrorAlert(*m_outlets.join.alerts, "%d of the files could not be exported.", "%@", m_outlets.join.fileListWindow,
                {QString::number(failed.size())}, {failed.join(", ")});
    return job.outcome().written;
}

} // namespace app
