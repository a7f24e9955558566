#include "ui/WidgetControls.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace ui {

void WidgetControl::setEnabled(bool enabled) {
    m_widget.setEnabled(enabled);
}
bool WidgetControl::isEnabled() const {
    return m_widget.isEnabled();
}

void ButtonAndActionControl::setEnabled(bool enabled) {
    m_button.setEnabled(enabled);
    for (QAction* action : m_actions)
        action->setEnabled(enabled);
}
bool ButtonAndActionControl::isEnabled() const {
    return m_button.isEnabled();
}

void ActionControl::setEnabled(bool enabled) {
    m_action.setEnabled(enabled);
}
bool ActionControl::isEnabled() const {
    return m_action.isEnabled();
}

void LabelTextControl::setText(const QString& text) {
    m_label.setText(text);
}
QString LabelTextControl::text() const {
    return m_label.text();
}
void LabelTextControl::setHidden(bool hidden) {
    m_label.setHidden(hidden);
}
bool LabelTextControl::isHidden() const {
    return m_label.isHidden();
}

void LineEditTextControl::setText(const QString& text) {
    m_field.setText(text);
}
QString LineEditTextControl::text() const {
    return m_field.text();
}
void LineEditTextControl::setHidden(bool hidden) {
    m_field.setHidden(hidden);
}
bool LineEditTextControl::isHidden() const {
    return m_field.isHidden();
}

BusyIndicator::BusyIndicator(QProgressBar& bar) : m_bar(bar) {
    m_bar.setTextVisible(false);
    m_bar.setRange(0, 1);
}

void BusyIndicator::setHidden(bool hidden) {
    m_bar.setHidden(hidden);
}
bool BusyIndicator::isHidden() const {
    return m_bar.isHidden();
}

// A range of 0..0 is Qt's busy (indeterminate) animation.
void BusyIndicator::startAnimation() {
    m_bar.setRange(0, 0);
    m_animating = true;
}

void BusyIndicator::stopAnimation() {
    m_bar.setRange(0, 1);
    m_animating = false;
}

BarProgress::BarProgress(QProgressBar& bar) : m_bar(bar) {
    m_bar.setRange(0, 1000);
}

void BarProgress::setValue(double value) {
    m_value = value;
    m_bar.setValue(static_cast<int>(std::lround(std::clamp(value, 0.0, 100.0) * 10)));
}

void BarProgress::displayNow() {
    m_bar.repaint();
}

void WidgetWindow::setTitle(const QString& title) {
    m_window.setWindowTitle(title);
}
QString WidgetWindow::title() const {
    return m_window.windowTitle();
}

void WidgetWindow::setRepresentedFilename(const std::filesystem::path& file) {
    m_window.setWindowFilePath(QFile::decodeName(file.c_str()));
}

std::optional<std::filesystem::path> WidgetWindow::representedFilename() const {
    const QString path = m_window.windowFilePath();
    if (path.isEmpty())
        return std::nullopt;
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

QWidget* widgetOf(support::WindowHandle* handle) {
    if (const auto* window = dynamic_cast<WidgetWindow*>(handle))
        return &window->widget();
    return nullptr;
}

} // namespace ui
