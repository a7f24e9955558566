#pragma once

#include <QMainWindow>
#include <filesystem>
#include <memory>
#include <vector>

namespace app {
class JoinClipController;
}
namespace platform {
class Preferences;
}

namespace ui {

namespace Ui {
class MainWindow;
}

class ApplicationEventPump;
class DownloadBar;
class FileTable;
class PreferencesWindow;
class ProgressSheet;
class SoftwareUpdateWindow;
class ViewerWindow;

// The main window (fileListWindow): the file table, its buttons, the status
// and total-duration lines, the spinner and the progress sheet, with the menu
// bar. It makes the widgets' ports, gives them to the application's
// controller as its outlets and runs the controller's lifecycle.
class MainWindow final : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(platform::Preferences& store, QWidget* parent = nullptr);
    ~MainWindow() override;

    app::JoinClipController& controller() { return *m_controller; }
    FileTable& fileTable() { return *m_table; }
    ProgressSheet& progressSheet() { return *m_progressSheet; }
    ViewerWindow& viewerWindow() { return *m_viewer; }
    DownloadBar& downloadBar() { return *m_downloads; }
    SoftwareUpdateWindow& softwareUpdateWindow() { return *m_softwareUpdate; }
    PreferencesWindow& preferencesWindow() { return *m_preferences; }

    // Launch: the interface is loaded (showFolders), the window comes to the
    // front, and the launch steps run (restoreSession).
    void launch();
    // Termination (saveSession), once, before any window closes.
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
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    struct Ports;
    void connectCommands();
    bool isBusy() const;

    std::unique_ptr<Ui::MainWindow> m_ui;
    std::unique_ptr<Ports> m_ports;
    std::unique_ptr<FileTable> m_table;
    ProgressSheet* m_progressSheet;
    PreferencesWindow* m_preferences;
    ViewerWindow* m_viewer;
    std::unique_ptr<app::JoinClipController> m_controller;
    // Made after the controller it adds downloads to, and gone before it.
    std::unique_ptr<DownloadBar> m_downloads;
    SoftwareUpdateWindow* m_softwareUpdate;
    bool m_terminated = false;
};

} // namespace ui
