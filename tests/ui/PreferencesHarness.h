#pragma once

// The real preferences window over a controller whose main window is the
// command line's (controls without widgets), with its own preferences file.
// relaunch() quits and starts again over the same file, as closing and
// opening the application does.

#include "RecordingAlertPresenter.h"
#include "RecordingDesktopPorts.h"
#include "TestApplication.h"
#include "TestComponent.h"
#include "app/JoinClipController.h"
#include "cli/HeadlessWindow.h"
#include "platform/Preferences.h"
#include "ui/PreferencesWindow.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <sstream>

namespace testing_support {

// The widget of the window's own type with that object name; fails the test without one.
template <typename Widget> Widget& child(QWidget& window, const char* name) {
    auto* widget = window.findChild<Widget*>(name);
    if (!widget)
        throw std::runtime_error(std::string("no widget named ") + name);
    return *widget;
}

// Runs answer on the modal dialog that the next action opens, once it is shown.
inline void whenModalShown(std::function<void(QWidget&)> answer) {
    QTimer::singleShot(0, [answer = std::move(answer)] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        answer(*modal);
    });
}

class PreferencesHarness : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ensureApplication(); }

    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        relaunch();
    }
    void TearDown() override { quit(); }

    void quit() {
        if (m_controller)
            m_controller->applicationWillTerminate();
        m_window.reset();
        m_controller.reset();
    }
    void relaunch() {
        quit();
        m_store = std::make_unique<platform::Preferences>(dir() / "preferences.plist");
        m_window = std::make_unique<ui::PreferencesWindow>();
        app::MainWindowOutlets outlets = m_mainWindow.outlets();
        outlets.join.alerts = &m_alerts;
        outlets.join.desktop = &m_desktop;
        outlets.join.folderChooser = &m_chooser;
        outlets.components.availableComponents = &m_components;
        m_window->fillOutlets(outlets);
        m_controller = std::make_unique<app::JoinClipController>(*m_store, outlets);
        m_controller->awakeFromNib();
        m_controller->applicationWillFinishLaunching();
        m_window->attach(*m_controller);
    }

    std::filesystem::path dir() const { return m_dir.path().toStdString(); }
    ui::PreferencesWindow& window() { return *m_window; }
    app::JoinClipController& controller() { return *m_controller; }
    template <typename Widget> Widget& control(const char* name) { return child<Widget>(*m_window, name); }

    // A movie component, a sound-only one and one without a settings dialog.
    std::vector<media::ExportComponent> m_components = [] {
        const media::FourCharCode code = media::makeFourCharCode("Test");
        std::vector components{testComponent("Movie", code, code), testComponent("Sound", code, code),
                               testComponent("Fixed", code, code)};
        components[1].writesVideo = false;
        components[1].videoEncoders.clear();
        components[2].hasSettingsDialog = false;
        return components;
    }();
    ScriptedFolderChooser m_chooser;
    RecordingDesktopServices m_desktop;
    RecordingAlertPresenter m_alerts;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<platform::Preferences> m_store;
    std::unique_ptr<ui::PreferencesWindow> m_window;
    std::unique_ptr<app::JoinClipController> m_controller;
    std::ostringstream m_quiet;
    cli::HeadlessWindow m_mainWindow{false, m_quiet};
};

} // namespace testing_support
