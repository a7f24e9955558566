#pragma once

#include <QDialog>
#include <memory>

namespace app {
class JoinClipController;
struct MainWindowOutlets;
} // namespace app

namespace support {
enum class Pref;
}

namespace ui {

namespace Ui {
class PreferencesWindow;
}

// The preferences window: every option bound to its preference key, the
// output format with its component menu and settings buttons, the two
// folders, and the table's columns. Made before the controller (whose
// outlets include some of its controls), attached once the controller exists.
//
// A bound control carries its key in the dynamic property "preferenceKey";
// a change is stored and written out at once, through the controller's
// preferences, so it holds for the rest of the run and after a restart.
class PreferencesWindow final : public QDialog {
    Q_OBJECT
public:
    explicit PreferencesWindow(QWidget* parent = nullptr);
    ~PreferencesWindow() override;

    // Sets the controller's outlets that live in this window (and a folder
    // chooser over it when none is set yet).
    void fillOutlets(app::MainWindowOutlets& outlets);
    void attach(app::JoinClipController& controller);
    // Fills the component menu from the controller's output format, with the chosen one selected.
    void showOutputFormat();

signals:
    // A column was switched on or off, or the Filename column's full-path
    // option changed: the file table re-reads its column preferences and redraws.
    void columnsChanged();
    // A preference this window stored, by its key.
    void preferenceChanged(const QString& key);

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void localizeTexts();
    void connectCommands();
    void bindPreferences();
    void showPreferences();
    void enableSettingsButtons();
    void storePreference(support::Pref pref, const QVariant& value);

    struct State;
    std::unique_ptr<Ui::PreferencesWindow> m_ui;
    std::unique_ptr<State> m_state;
};

} // namespace ui
