#pragma once

// The real preferences window over a controller whose main window is made of
// stored controls, with its own preferences file. relaunch() quits and starts
// again over the same file, as closing and opening the application does.

#include "RecordingAlertPresenter.h"
#include "RecordingDesktopPorts.h"
#include "RecordingEventPump.h"
#include "app/JoinClipController.h"
#include "filelist/TableView.h"
#include "platform/Preferences.h"
#include "support/StoredTextControl.h"
#include "ui/PreferencesWindow.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace testing_support {

// The widget of the window's own type with that object name; fails the test without one.
template <typename Widget> Widget& child(QWidget& window, const char* name) {
    auto* widget = window.findChild<Widget*>(name);
    EXPECT_NE(widget, nullptr) << name;
    if (!widget)
        throw std::runtime_error(name);
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

inline media::ExportComponent testComponent(const std::string& name, bool video, bool sound, bool dialog) {
    media::ExportComponent component;
    component.name = name;
    component.info = name + " files";
    component.extension = "mov";
    component.subtype = media::makeFourCharCode("Test");
    component.manufacturer = media::makeFourCharCode("Test");
    component.hasSettingsDialog = dialog;
    component.writesVideo = video;
    component.writesSound = sound;
    if (video)
        component.videoEncoders = {"libx264", "mpeg4"};
    if (sound)
        component.audioEncoders = {"aac", "pcm_s16le"};
    return component;
}

class PreferencesHarness : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "ui_prefs_tests";
        static char* argv[] = {name, nullptr};
        if (!QApplication::instance())
            new QApplication(argc, argv);
    }

    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        relaunch();
    }
    void TearDown() override {
        m_controller->applicationWillTerminate();
        m_window.reset();
        m_controller.reset();
    }

    void relaunch() {
        if (m_controller)
            m_controller->applicationWillTerminate();
        m_window.reset();
        m_controller.reset();
        m_store = std::make_unique<platform::Preferences>(dir() / "preferences.plist");
        m_window = std::make_unique<ui::PreferencesWindow>();
        app::MainWindowOutlets outlets;
        support::StoredControl* c = m_controls;
        outlets.fileList = {&m_table, &m_duration, &m_messages, &m_pump, &m_spinner, c,     c + 1,
                            c + 2,    c + 3,       c + 4,       c + 5,   c + 6,      c + 7, c + 8};
        outlets.join.fileListWindow = &m_mainWindow;
        outlets.join.alerts = &m_alerts;
        outlets.join.savePanel = &m_savePanel;
        outlets.join.desktop = &m_desktop;
        outlets.join.dockTile = &m_dockTile;
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
    platform::Preferences& store() { return *m_store; }
    template <typename Widget> Widget& control(const char* name) { return child<Widget>(*m_window, name); }

    std::vector<media::ExportComponent> m_components{testComponent("Movie", true, true, true),
                                                     testComponent("Sound", false, true, true),
                                                     testComponent("Fixed", true, true, false)};
    ScriptedFolderChooser m_chooser;
    RecordingDesktopServices m_desktop;
    RecordingAlertPresenter m_alerts;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<platform::Preferences> m_store;
    std::unique_ptr<ui::PreferencesWindow> m_window;
    std::unique_ptr<app::JoinClipController> m_controller;
    filelist::StoredTableView m_table;
    support::StoredTextControl m_duration;
    support::StoredTextControl m_messages;
    RecordingEventPump m_pump;
    support::StoredProgressIndicator m_spinner;
    support::StoredControl m_controls[9];
    support::StoredDocumentWindow m_mainWindow;
    RecordingSavePanel m_savePanel;
    platform::StoredDockTile m_dockTile;
};

} // namespace testing_support
