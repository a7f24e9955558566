// Renaming the list's files in sequence, and the list as a text file.

#include "app/JoinClipController.h"
#include "app/ListImportExport.h"
#include "app/RenameReport.h"
#include "support/DoAlert.h"
#include "support/LocalizedString.h"

namespace app {

filelist::RenameOutcome JoinClipController::renameFilesInSequence() {
    filelist::RenameOutcome outcome = m_movies.renameFilesInSequence();
    reportRefusedRenames(outcome);
    return outcome;
}

filelist::RenameOutcome JoinClipController::removeFilenamePrefixes() {
    filelist::RenameOutcome outcome = m_movies.removeFilenamePrefixes();
    reportRefusedRenames(outcome);
    return outcome;
}

// A beep for each file the file system refused, as for a single rename in
// the table; the status line and the console say which and why.
void JoinClipController::reportRefusedRenames(const filelist::RenameOutcome& outcome) {
    for (std::size_t i = 0; i < outcome.refused.size(); ++i)
        m_outlets.join.alerts->beep();
    message(reportRenames(outcome, console()));
}

bool JoinClipController::exportFileList() {
    if (m_movies.count() == 0) {
        doAlert("There are no file paths to export.", "Add files to the file list and try again", nullptr);
        return false;
    }
    const auto file =
        m_outlets.join.savePanel->runSavePanel(std::nullopt, "JoinClip File List Export", ".txt");
    return file && app::exportFileList(m_movies, *file, tellInAlert(), console());
}

bool JoinClipController::importFileList() {
    if (!m_outlets.join.openPanel)
        return false;
    const auto file = m_outlets.join.openPanel->runOpenPanel(
        support::LocalizedString("Choose File to Import"), support::LocalizedString("Choose"), {"txt"});
    return file && app::importFileList(m_movies, *file, tellInAlert(), console());
}

Tell JoinClipController::tellInAlert(support::WindowHandle* window) {
    return [this, window](Told kind, const QString& message, const QString& informative,
                          const QStringList& messageArguments, const QStringList& informativeArguments) {
        if (kind == Told::Failure)
            support::doErrorAlert(*m_outlets.join.alerts, message, informative, window, messageArguments,
                                  informativeArguments);
        else
            doAlert(message, informative, window, messageArguments, informativeArguments);
    };
}

} // namespace app
