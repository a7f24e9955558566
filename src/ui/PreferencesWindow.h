#pragma once

#include <QDialog>
#include <memory>

namespace app {
class ExportSettingsCommands;
class Session;
} // namespace app
namespace platform {
class DesktopServices;
struct FolderChooser;
} // namespace platform
namespace support {
class Console;
enum class Pref;
} // namespace support

namespace ui {

namespace Ui {
class PreferencesWindow;
}

// The preferences window: every option bound to its preference key, the
// output format with its component menu and settings buttons, the two
// folders, and the table's columns, over the session's preferences.
//
// A bound control carries its key in the dynamic property "preferenceKey";
// a change is stored and written out at once, so it holds for the rest of
// the run and after a restart.
class PreferencesWindow final : public QDialog {
    Q_OBJECT
public:
    explicit PreferencesWindow(QWidget* parent = nullptr);
    ~PreferencesWindow() override;

    // From now on the window shows and changes the session's preferences;
    // the folders are opened on desktop and chosen with folderChooser (none:
    // the desktop's folder dialog over this window).
    void attach(app::Session& session, platform::DesktopServices& desktop, support::Console& console,
                platform::FolderChooser* folderChooser = nullptr);
    // Fills the component menu from the session's output format, with the chosen one selected.
    void showOutputFormat();

signals:
    // A column was switched on or off, or the Filename column's full-path
    // option changed: the file table re-reads its column preferences and redraws.
    void columnsChanged();
    // A preference this window stored, by its key.
    void preferenceChanged(const QString& key);
    // A line for the main window's status line.
    void statusChanged(const QString& text);

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void localizeTexts();
    void connectCommands(platform::DesktopServices& desktop, platform::FolderChooser& folderChooser);
    void bindPreferences();
    void showPreferences();
    void enableSettingsButtons();
    void storePreference(support::Pref pref, const QVariant& value);
    // The folder fields show what the preferences hold now.
    void showFolders();

    struct State;
    std::unique_ptr<Ui::PreferencesWindow> m_ui;
    std::unique_ptr<State> m_state;
};

} // namespace ui
