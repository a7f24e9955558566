#include "app/JoinClipController.h"

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
                                       filelist::FileList::Services services)
    : m_store(store), m_defaults(store), m_outlets(outlets),
      m_movies(m_defaults, outlets.fileList, withDefaultFilename(std::move(services), *this)) {}

void JoinClipController::makeDefaultFilename(const std::filesystem::path& item, bool isFolder) {
    m_defaultBaseName = join::makeDefaultFilename(item, isFolder, m_movies.count());
}

std::optional<std::filesystem::path> JoinClipController::defaultFilename() const {
    return join::defaultFilename(platform::CopyOutputFolderPath(m_store), m_defaultBaseName, getExtension());
}

void JoinClipController::awakeFromNib() {
    setMovieDownloadDestinationTextFieldValue();
    setOutputDirectoryTextFieldValue();
}

void JoinClipController::applicationWillFinishLaunching() {
    m_store.synchronize();
    launchExportComponents();
    if (m_defaults.boolValue(support::Pref::RememberFileList))
        m_movies.restoreList();
    m_movies.updateDurationTextField();
}

void JoinClipController::applicationWillTerminate() {
    terminateExportComponents();
    m_movies.saveList();
    m_store.synchronize();
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
