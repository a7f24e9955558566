#include "app/JoinClipController.h"

#include "join/CreateMovieFromSoundFile.h"
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

// Sound files become movies of their own when "convertSoundToMovie" is on.
filelist::FileList::Services withSoundConversion(filelist::FileList::Services services) {
    if (!services.createMovieFromSoundFile)
        services.createMovieFromSoundFile = [](const std::filesystem::path& soundFile) {
            return join::createMovieFromSoundFile(soundFile);
        };
    return services;
}

} // namespace

JoinClipController::JoinClipController(platform::Preferences& store, const MainWindowOutlets& outlets,
                                       filelist::FileList::Services services, JoinServices joinServices)
    : m_store(store), m_defaults(store), m_outlets(outlets),
      m_movies(m_defaults, outlets.fileList,
               withSoundConversion(withDefaultFilename(std::move(services), *this))),
      m_joinServices(std::move(joinServices)), m_outputFormat(m_defaults) {}

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

void JoinClipController::awakeFromNib() {
    setMovieDownloadDestinationTextFieldValue();
    setOutputDirectoryTextFieldValue();
}

void JoinClipController::applicationWillFinishLaunching() {
    // A failed write keeps the changes pending: the next synchronize tries again.
    (void)m_store.synchronize();
    if (m_outlets.components.availableComponents)
        m_outputFormat.load(*m_outlets.components.availableComponents);
    else
        m_outputFormat.load();
    if (m_outlets.viewerWindow && m_defaults.boolValue(support::Pref::ViewerDisplayed))
        m_outlets.viewerWindow->makeKeyAndOrderFront();
    if (m_defaults.boolValue(support::Pref::RememberFileList))
        m_movies.restoreList();
    m_movies.updateDurationTextField();
}

void JoinClipController::applicationWillTerminate() {
    if (m_outlets.viewerWindow)
        m_defaults.setValue(support::Pref::ViewerDisplayed, m_outlets.viewerWindow->isVisible());
    m_movies.saveList();
    // Quitting, no window is left to tell; a failed write leaves the previous file whole.
    (void)m_store.synchronize();
}

void JoinClipController::windowDidBecomeKey() {
    setMovieDownloadDestinationTextFieldValue();
    setOutputDirectoryTextFieldValue();
}

void JoinClipController::setOutputDirectoryTextFieldValue() {
    if (!m_outlets.outputDirectoryTextField)
        return;
    m_outlets.outputDirectoryTextField->setText(
        platform::folderPreferenceDisplayText(platform::CopyOutputFolderPath(m_store)));
}

void JoinClipController::setMovieDownloadDestinationTextFieldValue() {
    if (!m_outlets.movieDownloadDestinationTextField)
        return;
    m_outlets.movieDownloadDestinationTextField->setText(
        platform::folderPreferenceDisplayText(platform::CopyDestinationFolderPath(m_store)));
}

} // namespace app
