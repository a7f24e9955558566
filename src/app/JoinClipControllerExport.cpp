// The per-file Export command: every listed file converted on its own through
// the selected export component, into the output folder.

#include "app/JoinClipController.h"
#include "join/DockProgress.h"
#include "join/ExportDestination.h"
#include "join/JoinEngine.h"
#include "platform/DockTile.h"
#include "platform/FileDates.h"
#include "platform/FileReference.h"
#include "platform/FolderPreferences.h"
#include "support/FormatText.h"
#include "support/LocalizedString.h"

#include <QFile>
#include <QStringList>

namespace app {

void JoinClipController::exportButtonClicked() {
    support::WindowHandle* mainWindow = m_outlets.join.fileListWindow;
    if (m_movies.count() == 0) {
        doAlert("There are no movies to process.", "Add some movies to the file list and try again.",
                mainWindow);
        return;
    }
    if (!isExporting()) {
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
    std::vector<std::filesystem::path> written;
    const std::optional<join::ComponentDescription> component = selectedComponent();
    const std::optional<QByteArray> settings = selectedComponentSettings();
    // Without any component there is nothing to export through: told, never passed over.
    if (!component) {
        checkComponentSelected();
        return written;
    }

    m_exportInProgress = true;
    m_cancelRequested = false;
    QStringList failed;
    const int count = m_movies.count();
    for (int i = 0; i < count && i < m_movies.count(); ++i) {
        join::DrawDockProgressForItem(*m_outlets.join.dockTile, i, count);
        m_indexOfCurrentMovieBeingExported = i;
        // Copied: showing the message lets events change the list.
        const filelist::MovieEntry entry = m_movies.movies()[static_cast<std::size_t>(i)];
        const auto source = platform::stringWithAlias(entry.alias);
        if (!source || !entry.qtkMovie)
            continue;
        const QString sourceName = QFile::decodeName(source->filename().c_str());
        message(support::fillFormat(support::LocalizedString("Exporting file \"%@\" (%d of %d)"),
                                    {sourceName, QString::number(i + 1), QString::number(count)}));

        // A free name, made ours: an export never replaces a file. Without one
        // (a folder we cannot write in), the write itself tells why.
        const auto reserved = join::reserveExportDestination(folder, *source, component->extension);
        join::JoinRequest request;
        request.movies = {entry.qtkMovie};
        request.destFilePath =
            reserved ? reserved->path() : join::exportDestination(folder, *source, component->extension);
        std::error_code taken;
        if (!reserved && std::filesystem::exists(std::filesystem::symlink_status(request.destFilePath, taken))) {
            failed.push_back(sourceName);
            continue;
        }
        request.component = component;
        request.exportSettings = settings;
        request.withChapters = false;
        if (join::appendMovies(request, *this, console())) {
            written.push_back(request.destFilePath);
            // Dates are kept where they can be: one that cannot be set leaves the
            // exported file as written, complete and good.
            if (m_defaults.boolValue(support::Pref::PreserveDates)) {
                [[maybe_unused]] const bool kept = platform::CopyFileDates(*source, request.destFilePath);
            }
        } else {
            // A write that fails ends without its end phase: close the sheet here.
            showWriteProgress(2, 0, nullptr);
            if (!m_cancelRequested)
                failed.push_back(sourceName);
        }
        // Cancel (cancelOp) stops the write under way and ends the loop.
        if (!m_exportInProgress)
            break;
    }
    m_exportInProgress = false;
    m_outlets.join.dockTile->restore();
    message(QString());
    // A file that could not be written is told, never passed over.
    if (!failed.isEmpty())
        doAlert("%d of the files could not be exported.", "%@", m_outlets.join.fileListWindow,
                {QString::number(failed.size())}, {failed.join(", ")});
    return written;
}

} // namespace app
