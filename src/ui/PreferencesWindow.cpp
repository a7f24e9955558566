#include "ui/PreferencesWindow.h"

#include "app/JoinClipController.h"

namespace ui {

struct PreferencesWindow::State {
    app::JoinClipController* controller = nullptr;
};

PreferencesWindow::PreferencesWindow(QWidget* parent) : QDialog(parent), m_state(std::make_unique<State>()) {}

PreferencesWindow::~PreferencesWindow() = default;

void PreferencesWindow::fillOutlets(app::MainWindowOutlets&) {}

void PreferencesWindow::attach(app::JoinClipController& controller) {
    m_state->controller = &controller;
}

} // namespace ui
