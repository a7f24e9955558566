#pragma once

#include "support/Control.h"
#include "support/DocumentWindow.h"
#include "support/ProgressIndicator.h"
#include "support/ProgressSheet.h"
#include "support/TextControl.h"

#include <vector>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QWidget;

// The logic's narrow control interfaces over real widgets. Each adapter only
// forwards; it holds no rule of its own.
namespace ui {

// A button (or any widget) the logic enables and disables.
class WidgetControl final : public support::Control {
public:
    explicit WidgetControl(QWidget& widget) : m_widget(widget) {}
    void setEnabled(bool enabled) override;
    bool isEnabled() const override;

private:
    QWidget& m_widget;
};

// A button and the menu items of the same command, enabled and disabled together.
class ButtonAndActionControl final : public support::Control {
public:
    ButtonAndActionControl(QWidget& button, std::vector<QAction*> actions)
        : m_button(button), m_actions(std::move(actions)) {}
    void setEnabled(bool enabled) override;
    bool isEnabled() const override;

private:
    QWidget& m_button;
    std::vector<QAction*> m_actions;
};

// A menu item the logic enables and disables.
class ActionControl final : public support::Control {
public:
    explicit ActionControl(QAction& action) : m_action(action) {}
    void setEnabled(bool enabled) override;
    bool isEnabled() const override;

private:
    QAction& m_action;
};

// A line of text shown to the user (the status line, the total-duration line).
class LabelTextControl final : public support::TextControl {
public:
    explicit LabelTextControl(QLabel& label) : m_label(label) {}
    void setText(const QString& text) override;
    QString text() const override;
    void setHidden(bool hidden) override;
    bool isHidden() const override;

private:
    QLabel& m_label;
};

// A field the user can also type into (the folder fields of the preferences).
class LineEditTextControl final : public support::TextControl {
public:
    explicit LineEditTextControl(QLineEdit& field) : m_field(field) {}
    void setText(const QString& text) override;
    QString text() const override;
    void setHidden(bool hidden) override;
    bool isHidden() const override;

private:
    QLineEdit& m_field;
};


// The spinner: a busy progress bar shown while long work runs.
class BusyIndicator final : public support::ProgressIndicator {
public:
    explicit BusyIndicator(QProgressBar& bar);
    void setHidden(bool hidden) override;
    bool isHidden() const override;
    void startAnimation() override;
    void stopAnimation() override;
    bool isAnimating() const override { return m_animating; }

private:
    QProgressBar& m_bar;
    bool m_animating = false;
};

// A determinate bar whose values run from 0 to 100.
class BarProgress final : public support::ProgressBar {
public:
    explicit BarProgress(QProgressBar& bar);
    void setValue(double value) override;
    double value() const override { return m_value; }
    void displayNow() override;

private:
    QProgressBar& m_bar;
    double m_value = 0;
};

// A top-level window as the logic sees it: its title and the file it stands for.
class WidgetWindow final : public support::DocumentWindow {
public:
    explicit WidgetWindow(QWidget& window) : m_window(window) {}
    QWidget& widget() const { return m_window; }
    void setTitle(const QString& title) override;
    QString title() const override;
    void setRepresentedFilename(const std::filesystem::path& file) override;
    std::optional<std::filesystem::path> representedFilename() const override;

private:
    QWidget& m_window;
};

// The widget behind a handle the logic passed along; none for a handle that
// is not a window of ours (alerts then become application-modal).
QWidget* widgetOf(support::WindowHandle* handle);

} // namespace ui
