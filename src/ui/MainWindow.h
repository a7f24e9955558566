#pragma once

#include <QMainWindow>
#include <filesystem>
#include <memory>
#include <vector>

namespace app {
struct JoinOutcome;
class JobRunner;
class ListCommands;
class Session;
class WriteCommands;
} // namespace app
namespace platform {
class Preferences;
}

namespace ui {

namespace Ui {
class MainWindow;
}

class DownloadBar;
class FileTable;
class PreferencesWindow;
class ProgressSheet;
class SoftwareUpdateWindow;
class ViewerWindow;

// The main window: the file table, its buttons, the status and total-duration
// lines, the spinner and the progress sheet, with the menu bar. It connects
// them to the session's list and to the commands and jobs that act on it,
// asks the commands' questions in dialogs and tells their notices in alerts.
class MainWindow final : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(platform::Preferences& store, QWidget* parent = nullptr);
    ~MainWindow() override;

    app::Session& session() { return *m_session; }
    app::JobRunner& jobs() { return *m_jobs; }
    app::ListCommands& listCommands() { return *m_listCommands; }
    FileTable& fileTable() { return *m_table; }
    ProgressSheet& progressSheet() { return *m_progressSheet; }
    ViewerWindow& viewerWindow() { return *m_viewer; }
    DownloadBar& downloadBar() { return *m_downloads; }
    SoftwareUpdateWindow& softwareUpdateWindow() { return *m_softwareUpdate; }
    PreferencesWindow& preferencesWindow() { return *m_preferences; }

    // Launch: the window comes to the front, then the session is restored.
    void launch();
    // Termination (the session saved), once, before any window closes.
    void terminate();
    // A logout (SIGTERM), a closed terminal (SIGHUP) or Ctrl-C: saves what a
    // quit saves, removes the files being written, and ends the process by
    // the signal.
    [[noreturn]] void endBySignal(int signal);

    // The open-documents event: files and folders the desktop or another
    // start of the program asked to open. While long work runs (a write, a
    // batch, a dialog) they wait for it to end.
    void openDocuments(const std::vector<std::filesystem::path>& paths);

    // The commands of the buttons and menus that open dialogs.
    void addFiles();
    void join();
    void exportFiles();
    void showPreferences();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void connectList();
    void connectJobs();
    void connectCommands();
    void connectMenus();
    void showBusy(bool busy);
    void showStatus(const QString& text);
    void showJoined(const app::JoinOutcome& outcome);
    bool isBusy() const;

    struct Desktop;
    std::unique_ptr<Ui::MainWindow> m_ui;
    std::unique_ptr<Desktop> m_desktop;
    std::unique_ptr<app::Session> m_session;
    // After the session: a job under way is stopped before the list it reads goes.
    std::unique_ptr<app::JobRunner> m_jobs;
    std::unique_ptr<app::ListCommands> m_listCommands;
    std::unique_ptr<app::WriteCommands> m_writeCommands;
    std::unique_ptr<FileTable> m_table;
    ProgressSheet* m_progressSheet;
    PreferencesWindow* m_preferences;
    ViewerWindow* m_viewer;
    // Gone before the list it adds downloads to.
    std::unique_ptr<DownloadBar> m_downloads;
    SoftwareUpdateWindow* m_softwareUpdate;
    bool m_terminated = false;
};

} // namespace ui
