#include "app/JoinClipController.h"

#include "app/ListServices.h"
#include "join/OutputNaming.h"
#include "platform/FolderPreferences.h"
#include "platform/Preferences.h"

namespace app {

namespace {

filelist::FileList::Services withDefaultFilename(filelist::FileList::Services services,
                                                 JoinClipController& controller) {
    if (!services.makeDefaultFilename)
        services.makeDefaultFilename = [&controller](const std::filesystem::path& item, bool isFolder) {
            controller.makeDefaultFilename(item, isFolder);
        };
    return services;
}

} // namespace

JoinClipController::JoinClipController(platform::Preferences& store, const MainWindowOutlets& outlets,
                                       filelist::FileList::Services services, JoinServices joinServices)
    : m_store(store), m_defaults(store), m_outlets(outlets),
      m_movies(m_defaults, listServices(withDefaultFilename(std::move(services), *this))),
      m_joinServices(std::move(joinServices)), m_outputFolder(store, support::Pref::OutputDirectory),
      m_downloadFolder(store, support::Pref::DestinationDirectory), m_outputFormat(m_defaults),
      m_exportSettings(m_outputFormat, m_outlets.components, m_outlets.join.alerts, console()) {
    showListChanges();
}

void JoinClipController::showListChanges() {
    const FileListOutlets& outlets = m_outlets.fileList;
    QObject::connect(&m_movies, &filelist::FileList::changed, &m_movies, [this, outlets] {
        outlets.movieTable->reloadData();
        // The list's commands are there while it holds entries, the orderings while it holds two.
        for (support::Control* control : {outlets.clearButton, outlets.joinButton, outlets.exportButton})
            control->setEnabled(m_movies.count() >= 1);
        for (support::Control* control :
             {outlets.reverseButton, outlets.sortButton, outlets.titleSortButton, outlets.dateSortButton,
              outlets.createDateSortButton, outlets.exifSortButton})
            control->setEnabled(m_movies.count() >= 2);
    });
    QObject::connect(&m_movies, &filelist::FileList::statusChanged, &m_movies,
                     [this](const QString& text) { message(text); });
    QObject::connect(&m_movies, &filelist::FileList::busyChanged, &m_movies,
                     [this](bool busy) { showSpinner(busy); });
    QObject::connect(&m_movies, &filelist::FileList::totalDurationChanged, &m_movies, [this, outlets] {
        const std::optional<QString>& line = m_movies.totalDuration();
        if (line)
            outlets.durationTextField->setText(*line);
        outlets.durationTextField->setHidden(!line);
    });
}

void JoinClipController::makeDefaultFilename(const std::filesystem::path& item, bool isFolder) {
    m_defaultBaseName = join::makeDefaultFilename(item, isFolder, m_movies.count());
}

std::optional<std::filesystem::path> JoinClipController::defaultFilename() const {
    const std::optional<QString> extension = m_outputFormat.extension();
    if (!extension)
        return std::nullopt;
    return join::defaultFilename(outputFolderPath(), m_defaultBaseName, *extension);
}

std::optional<std::filesystem::path> JoinClipController::outputFolderPath() const {
    if (m_outputFolderForThisRun)
        return m_outputFolderForThisRun;
    return platform::CopyOutputFolderPath(m_store);
}

void JoinClipController::showFolders() {
    if (m_outlets.movieDownloadDestinationTextField)
        m_outlets.movieDownloadDestinationTextField->setText(m_downloadFolder.displayText());
    if (m_outlets.outputDirectoryTextField)
        m_outlets.outputDirectoryTextField->setText(m_outputFolder.displayText());
}

void JoinClipController::restoreSession() {
    // A failed write keeps the changes pending: the next synchronize tries again.
    (void)m_store.synchronize();
    if (m_outlets.components.availableComponents)
        m_outputFormat.load(*m_outlets.components.availableComponents);
    else
        m_outputFormat.load();
    if (m_defaults.boolValue(support::Pref::RememberFileList))
        m_movies.restoreList();
    m_movies.updateTotalDuration();
}

void JoinClipController::saveSession() {
    m_movies.saveList();
    // Quitting, no window is left to tell; a failed write leaves the previous file whole.
    (void)m_store.synchronize();
}


} // namespace app
