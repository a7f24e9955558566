#pragma once

#include "app/ExportComponentOutlets.h"
#include "app/JoinCommandOutlets.h"
#include "app/ListImportExport.h"
#include "filelist/FileList.h"
#include "filelist/TableView.h"
#include "app/ExportSettingsCommands.h"
#include "app/OutputFormat.h"
#include "app/PreferenceFolder.h"
#include "support/Console.h"
#include "support/Control.h"
#include "support/EventPump.h"
#include "support/Job.h"
#include "support/ProgressIndicator.h"
#include "support/TextControl.h"
#include "support/UserDefaults.h"

namespace platform {
class Preferences;
}
namespace join {
class ExportJob;
class JoinJob;
} // namespace join

namespace app {

// The main window's controls that show the file list. Every pointer is set
// (the tests give stored controls).
struct FileListOutlets final {
    filelist::TableView* movieTable = nullptr;
    support::TextControl* durationTextField = nullptr;
    support::TextControl* messagesTextField = nullptr;
    support::EventPump* eventPump = nullptr;
    support::ProgressIndicator* spinner = nullptr;
    // List controls: enabled while the list holds at least one entry.
    support::Control* clearButton = nullptr;
    support::Control* joinButton = nullptr;
    support::Control* exportButton = nullptr;
    // Ordering controls: enabled while the list holds at least two entries.
    support::Control* reverseButton = nullptr;
    support::Control* sortButton = nullptr;
    support::Control* titleSortButton = nullptr;
    support::Control* dateSortButton = nullptr;
    support::Control* createDateSortButton = nullptr;
    support::Control* exifSortButton = nullptr;
};

// The main window's controls that the controller drives.
struct MainWindowOutlets final {
    FileListOutlets fileList;
    support::TextControl* outputDirectoryTextField = nullptr;
    support::TextControl* movieDownloadDestinationTextField = nullptr;
    JoinCommandOutlets join;
    ExportComponentOutlets components;
    // Where diagnostics go; unset: standard error.
    support::Console* console = nullptr;
};

// The application's controller: owns the file list and the preferences
// reader, and runs the steps of launch and termination. The widgets, the
// command line and the tests each give it their own outlets.
class JoinClipController final {
public:
    JoinClipController(platform::Preferences& store, const MainWindowOutlets& outlets,
                       filelist::FileList::Services services = {}, JoinServices joinServices = {});

    support::UserDefaults& defaults() { return m_defaults; }
    // The controls and ports it was given (the file table acts through them).
    const MainWindowOutlets& outlets() const { return m_outlets; }
    filelist::FileList& fileList() { return m_movies; }
    const filelist::FileList& fileList() const { return m_movies; }

    // At launch: restores the saved list when "RememberFileList" is on.
    void restoreSession();
    // At termination: saves the list (or forgets it) and writes the preferences out.
    void saveSession();
    // Once the window is loaded, and each time the main or preferences window
    // becomes active: the folder fields are filled again.
    void showFolders();

    // The open-documents event (JoinClipControllerDocuments.cpp): files and
    // folders that the desktop or a second start of the program asks us to
    // open, as one batch; what cannot be opened is named in one alert.
    void openDocuments(const std::vector<std::filesystem::path>& paths);

    // Removes the entries at the table's selected rows.
    void removeSelected() { m_movies.removeRows(m_outlets.fileList.movieTable->selectedRows()); }

    // Batch renaming (JoinClipControllerOrdering.cpp): each refused rename beeps; the status line names the files not renamed,
    // and the console says why for each.
    filelist::RenameOutcome renameFilesInSequence();
    filelist::RenameOutcome removeFilenamePrefixes();
    // The file list as a text file. Export asks where (save panel) and answers
    // whether the file was written; import asks which file (open panel) and
    // answers whether the chosen file was read (its lines go to the list
    // through addFiles). A file that cannot be read, or is not UTF-8 text, is
    // told in an alert and changes nothing. The answers of these actions are
    // for the command line; the window may drop them, the user has been told.
    bool exportFileList();
    bool importFileList();

    // The default output name, from the item last added to the list.
    const std::optional<QString>& defaultBaseName() const { return m_defaultBaseName; }
    void makeDefaultFilename(const std::filesystem::path& item, bool isFolder);
    // The output format: the export component chosen and every component's settings.
    OutputFormat& outputFormat() { return m_outputFormat; }
    const OutputFormat& outputFormat() const { return m_outputFormat; }
    // The settings commands of the preferences window (JoinClipControllerComponents.cpp):
    // edit the chosen component's settings in its dialog, save every
    // component's settings to a file, load them from one (then edit).
    ExportSettingsCommands& exportSettings() { return m_exportSettings; }
    // The per-file Export command (JoinClipControllerExport.cpp); cancelJob stops it, leaving the files
    // finished before.
    void exportFiles();
    // Its job over the list once the folder is known (the command line's
    // export); answers the files written (none yet when run in the background).
    std::vector<std::filesystem::path> exportMoviesToFolder(const std::filesystem::path& folder);
    // The default output path in the output folder, or none without one (or
    // without an extension: exporting with no component selected).
    std::optional<std::filesystem::path> defaultFilename() const;
    // The output folder: the one set for this run, else the "OutputDirectory" preference.
    std::optional<std::filesystem::path> outputFolderPath() const;
    // Uses folder as the output folder for the rest of this run, without storing it.
    void setOutputFolderForThisRun(const std::filesystem::path& folder) { m_outputFolderForThisRun = folder; }

    // The Join command (JoinClipControllerJoin.cpp). In the background it
    // answers Started; the window shows how it ended.
    JoinOutcome join();
    // The output folder and the download folder the preferences keep.
    PreferenceFolder& outputFolder() { return m_outputFolder; }
    PreferenceFolder& downloadFolder() { return m_downloadFolder; }

    // Status line and alerts; tellInAlert tells in an alert on window when one is given.
    [[nodiscard]] Tell tellInAlert(support::WindowHandle* window = nullptr);
    void message(const QString& text);
    // Texts given arguments are formats, looked up first and then filled.
    void doAlert(const QString& messageText, const QString& informative, support::WindowHandle* parentWindow,
                 const QStringList& messageArguments = {}, const QStringList& informativeArguments = {});

    // A duration typed into the table's Duration cell: the entry's movie is
    // rescaled and its file rewritten, as a job (JoinClipControllerRescale.cpp).
    void rescaleEntry(int row, const QString& typed);

    // Jobs and their progress (JoinClipControllerProgress.cpp). Jobs run on
    // a worker thread when the window asks for it, else on this thread.
    void setRunsJobsInBackground(bool background) { m_jobsInBackground = background; }
    bool isRunningJob() const { return m_job != nullptr; }
    // Stops the job under way at its next progress step; the sheet goes at once.
    void cancelJob();
    // What the sheet, the time line and the tile show: phase 0 begins a
    // write under `title`, 1 shows the fraction done, 2 ends it.
    void showWriteProgress(int phase, double fraction, const QString& title = {});
    // The sheet's title line of a write of fileName (none: not known yet).
    QString writeTitle(const std::filesystem::path* fileName) const;

private:
    support::Console& console() { return m_outlets.console ? *m_outlets.console : m_standardError; }
    void reportRefusedRenames(const filelist::RenameOutcome& outcome);
    void showSpinner(bool shown);
    // Shows what the list tells in the window's controls.
    void showListChanges();
    void showStatus(const QString& text);
    // Shows the job's progress and runs finish once it has ended, on this thread.
    void runJob(std::unique_ptr<support::Job> job, const QString& title, std::function<void()> finish);
    JoinOutcome finishJoin(const join::JoinJob& job, const QString& extension);
    std::vector<std::filesystem::path> finishExport(const join::ExportJob& job);
    std::uint32_t now() const;
    // Whether exporting has a component to go through; when it has not, the
    // user is told so (on the main window) and false is answered.
    bool checkComponentSelected();

    platform::Preferences& m_store;
    support::UserDefaults m_defaults;
    MainWindowOutlets m_outlets;
    support::StandardErrorConsole m_standardError;
    std::optional<QString> m_defaultBaseName;
    filelist::FileList m_movies;
    JoinServices m_joinServices;
    std::optional<std::filesystem::path> m_outputFolderForThisRun;
    PreferenceFolder m_outputFolder;
    PreferenceFolder m_downloadFolder;
    OutputFormat m_outputFormat;
    ExportSettingsCommands m_exportSettings;
    std::unique_ptr<support::Job> m_job; // the one under way
    bool m_jobsInBackground = false;
    JoinOutcome m_lastJoin;
    std::uint32_t eta_startTime = 0;
    std::uint32_t eta_currentTime = 0;
};

} // namespace app
