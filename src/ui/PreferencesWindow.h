#pragma once

#include <QDialog>
#include <memory>

namespace app {
class JoinClipController;
struct MainWindowOutlets;
} // namespace app

namespace ui {

// The preferences window: every option bound to its preference key, the
// output format with its component menu and settings buttons, the two
// folders, and the table's columns. Made before the controller (whose
// outlets include some of its controls), attached once the controller exists.
class PreferencesWindow final : public QDialog {
    Q_OBJECT
public:
    explicit PreferencesWindow(QWidget* parent = nullptr);
    ~PreferencesWindow() override;

    // Sets the controller's outlets that live in this window.
    void fillOutlets(app::MainWindowOutlets& outlets);
    void attach(app::JoinClipController& controller);

private:
    struct State;
    std::unique_ptr<State> m_state;
};

} // namespace ui
