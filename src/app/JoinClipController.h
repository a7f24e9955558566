#pragma once

#include "filelist/FileList.h"
#include "support/TextControl.h"
#include "support/UserDefaults.h"

namespace platform {
class Preferences;
}

namespace app {

// The main window's controls that the controller drives.
struct MainWindowOutlets final {
    filelist::FileListOutlets fileList;
    support::TextControl* outputDirectoryTextField = nullptr;
    support::TextControl* movieDownloadDestinationTextField = nullptr;
};

// The application's controller: owns the file list and the preferences
// reader, and runs the steps of launch and termination. The widgets, the
// command line and the tests each give it their own outlets.
class JoinClipController final {
public:
    JoinClipController(platform::Preferences& store, const MainWindowOutlets& outlets,
                       filelist::FileList::Services services = {});

    support::UserDefaults& defaults() { return m_defaults; }
    filelist::FileList& fileList() { return m_movies; }
    const filelist::FileList& fileList() const { return m_movies; }

    // Once the main window's interface is loaded.
    void awakeFromNib();
    // At launch: restores the saved list when "RememberFileList" is on.
    void applicationWillFinishLaunching();
    // At termination: saves the list (or forgets it) and writes the preferences out.
    void applicationWillTerminate();
    // Each time the main or preferences window becomes key: the folder fields are filled again.
    void windowDidBecomeKey();

    void clearListButtonClicked() { m_movies.clearListButtonClicked(); }
    void removeItem() { m_movies.removeItem(); }

    void setOutputDirectoryTextFieldValue();
    void setMovieDownloadDestinationTextFieldValue();

    // The default output name, from the item last added to the list.
    const std::optional<QString>& defaultBaseName() const { return m_defaultBaseName; }
    void makeDefaultFilename(const std::filesystem::path& item, bool isFolder);
    // The extension of joined files: ".mov" (export components come later).
    QString getExtension() const { return ".mov"; }
    // The default output path in the output folder, or none without one.
    std::optional<std::filesystem::path> defaultFilename() const;

private:
    platform::Preferences& m_store;
    support::UserDefaults m_defaults;
    MainWindowOutlets m_outlets;
    std::optional<QString> m_defaultBaseName;
    filelist::FileList m_movies;
};

} // namespace app
