#include "app/JoinClipController.h"

#include "platform/FolderPreferences.h"
#include "platform/Preferences.h"

namespace app {

JoinClipController::JoinClipController(platform::Preferences& store, const MainWindowOutlets& outlets,
                                       filelist::FileList::Services services)
    : m_store(store), m_defaults(store), m_outlets(outlets),
      m_movies(m_defaults, outlets.fileList, std::move(services)) {}

void JoinClipController::awakeFromNib() {
    setMovieDownloadDestinationTextFieldValue();
    setOutputDirectoryTextFieldValue();
}

void JoinClipController::applicationWillFinishLaunching() {
    m_store.synchronize();
    if (m_defaults.boolValue(support::Pref::RememberFileList))
        m_movies.restoreList();
    m_movies.updateDurationTextField();
}

void JoinClipController::applicationWillTerminate() {
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
