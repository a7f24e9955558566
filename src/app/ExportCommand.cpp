// The per-file Export command: every listed file converted on its own through
// the selected export component, into the output folder.

#include "app/JoinClipController.h"
#include "join/ExportDestination.h"
#include "join/JoinEngine.h"
#include "platform/FileDates.h"
#include "platform/FileReference.h"
#include "platform/FolderPreferences.h"
#include "platform/Preferences.h"
#include "support/DoAlert.h"
#include "support/FormatText.h"
#include "support/LocalizedString.h"
#include "support/Message.h"

#include <QFile>

namespace app {

namespace {

// The source's dates on the exported file, each that can be read.
void copyDates(const std::filesystem::path& source, const std::filesystem::path& destination) {
    platform::CatalogDate date;
    if (platform::GetContentModDate(source, date) == 0)
        platform::SetContentModDate(destination, date);
    if (platform::GetCreationDate(source, date) == 0)
        platform::SetCreationDate(destination, date);
    if (platform::GetAttributeModDate(source, date) == 0)
        platform::SetAttributeModDate(destination, date);
}

} // namespace

void JoinClipController::exportButtonClicked() {
    const ExportComponentPorts& ports = m_outlets.components;
    const auto alert = [&](const char* message, const char* informative) {
        if (ports.alerts)
            support::doAlert(*ports.alerts, message, informative, ports.fileListWindow);
    };
    if (m_movies.count() == 0) {
        alert("There are no movies to process.", "Add some movies to the file list and try again.");
        return;
    }
    if (!isExporting()) {
        alert("The option to export is not selected.",
              "Open the Preferences window to turn on exporting in 'Output Format'.");
        return;
    }
    std::optional<std::filesystem::path> folder = platform::CopyOutputFolderPath(m_store);
    if (!folder && ports.destinationChooser)
        folder = ports.destinationChooser->chooseFolder(
            support::LocalizedString("Choose a destination directory for exported files"),
            support::LocalizedString("Choose"), QString());
    if (folder)
        exportMoviesToFolder(*folder);
}

std::vector<std::filesystem::path>
JoinClipController::exportMoviesToFolder(const std::filesystem::path& folder) {
    const ExportComponentPorts& ports = m_outlets.components;
    std::vector<std::filesystem::path> written;
    if (!ports.joinDelegate)
        return written;
    const std::optional<join::ComponentDescription> component = selectedComponent();
    const std::optional<QByteArray> settings = selectedComponentSettings();
    // Without any component there is nothing to export through.
    if (!component)
        return written;
    const filelist::FileListOutlets& list = m_outlets.fileList;
    const auto message = [&](const QString& text) {
        if (list.messagesTextField && list.eventPump)
            support::message(*list.messagesTextField, *list.eventPump, text);
    };

    m_exportInProgress = true;
    const int count = m_movies.count();
    for (int i = 0; i < count && i < m_movies.count(); ++i) {
        m_indexOfCurrentMovieBeingExported = i;
        // Copied: showing the message lets events change the list.
        const filelist::MovieEntry entry = m_movies.movies()[static_cast<std::size_t>(i)];
        const auto source = platform::stringWithAlias(entry.alias);
        if (!source || !entry.qtkMovie)
            continue;
        const QString sourceName = QFile::decodeName(source->filename().c_str());
        message(support::fillFormat(support::LocalizedString("Exporting file \"%@\" (%d of %d)"),
                                    {sourceName, QString::number(i + 1), QString::number(count)}));

        join::JoinRequest request;
        request.movies = {entry.qtkMovie};
        request.destFilePath = join::exportDestination(folder, *source, component->extension);
        request.component = component;
        request.exportSettings = settings;
        request.withChapters = false;
        if (join::appendMovies(request, *ports.joinDelegate)) {
            written.push_back(request.destFilePath);
            if (m_defaults.boolValue(support::Pref::PreserveDates))
                copyDates(*source, request.destFilePath);
        }
        if (!m_exportInProgress)
            break;
    }
    m_exportInProgress = false;
    message(QString());
    return written;
}

} // namespace app
