// The per-file Export command: every listed file converted on its own through
// the selected export component, into the output folder, as a job.

#include "app/CommandRequests.h"
#include "app/Session.h"
#include "app/WriteCommands.h"
#include "join/ExportJob.h"
#include "support/Console.h"
#include "support/LocalizedString.h"

#include <QStringList>

namespace app {

void WriteCommands::exportFiles(const AskFolder& askFolder) {
    if (m_jobs.isRunning() || !checkListHoldsMovies())
        return;
    const OutputFormat& format = m_session.outputFormat();
    if (!format.isExporting()) {
        emit noticed({support::Told::Information, "The option to export is not selected.",
                      "Open the Preferences window to turn on exporting in 'Output Format'."});
        return;
    }
    if (!checkComponentSelected())
        return;
    // A folder chosen here serves this run only; it is not stored.
    std::optional<std::filesystem::path> folder = m_session.outputFolder().path();
    if (!folder && !(folder = askFolder()))
        return;
    join::ExportRequest request = makeExportRequest(m_session.fileList(), format, m_session.defaults(), *folder);
    auto job = std::make_unique<join::ExportJob>(std::move(request));
    join::ExportJob& exporting = *job;
    (void)m_jobs.start(std::move(job), writeTitle(), [this, &exporting] { finishExport(exporting); });
}

void WriteCommands::finishExport(const join::ExportJob& job) {
    for (const QString& note : job.outcome().notes)
        m_console.writeLine(note);
    // A file that could not be written is told, never passed over; a cancel is no failure.
    emit statusChanged(exportSummary(job).value_or(QString()));
    const QStringList& failed = job.outcome().failed;
    if (!failed.isEmpty())
        emit noticed({support::Told::Failure, "%d of the files could not be exported.", "%@",
                      {QString::number(failed.size())}, {failed.join(", ")}});
    emit exported(job.outcome().written);
}

} // namespace app
