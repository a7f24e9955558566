#pragma once

// The application's controller over recording ports and a preferences file of
// its own, for the tests of the commands it runs. relaunch() ends the run and
// starts the next one over the same preferences file, as quitting and opening
// the application again does.

#include "MediaFixtures.h"
#include "RecordingAlertPresenter.h"
#include "RecordingConsole.h"
#include "RecordingDesktopPorts.h"
#include "RecordingEventPump.h"
#include "RecordingTextControl.h"
#include "StoredControls.h"
#include "ScriptedSettingsDialog.h"
#include "TestFolder.h"
#include "TestWindowHandle.h"
#include "app/JoinClipController.h"
#include "platform/Preferences.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace testing_support {

// The settings file panels answered from a script (none stands for Cancel).
class ScriptedSettingsPanels final : public support::ComponentSettingsPanels {
public:
    std::optional<std::filesystem::path> runSaveSettingsPanel(const QString& type, const QString& name,
                                                              bool) override {
        suggested = {type, name};
        return saveAnswer;
    }
    std::optional<std::filesystem::path> runOpenSettingsPanel(const QString&, const QString&,
                                                              const QStringList&) override {
        return openAnswer;
    }
    std::optional<std::filesystem::path> saveAnswer, openAnswer;
    QStringList suggested; // the required type and the name
};

class AppHarness : public ::testing::Test {
protected:
    using Status = app::JoinOutcome::Status;

    void SetUp() override {
        fixtures::quietFfmpegLogs();
        // The desktop's trash (files replaced by a rewrite go there) is the test's own.
        qputenv("XDG_DATA_HOME", QByteArray((dir() / "data").c_str()));
        relaunch();
    }

    // Ends the current run (if any), does whileClosed, and launches the next run
    // with these services; the clock is the test's.
    void relaunch(app::JoinServices services = {}, const std::function<void()>& whileClosed = {}) {
        if (m_controller)
            m_controller->saveSession();
        m_controller.reset();
        if (whileClosed)
            whileClosed();
        m_store = std::make_unique<platform::Preferences>(dir() / "config" / "preferences.plist");
        if (!services.clock)
            services.clock = [this] { return m_clock; };
        filelist::FileList::Services listServices;
        listServices.previewImage = [](const std::filesystem::path&) { return std::optional<QImage>(); };
        app::MainWindowOutlets windowOutlets = outlets();
        fillOutlets(windowOutlets);
        m_controller = std::make_unique<app::JoinClipController>(*m_store, windowOutlets, listServices,
                                                                 std::move(services));
        m_controller->showFolders();
        m_controller->restoreSession();
        attach(*m_controller);
    }

    // For harnesses that put real windows in place of some recording ports:
    // each launch, the window fills its outlets, then is attached to the new controller.
    virtual void fillOutlets(app::MainWindowOutlets&) {}
    virtual void attach(app::JoinClipController&) {}

    app::MainWindowOutlets outlets() {
        app::MainWindowOutlets outlets;
        StoredControl* c = m_controls;
        outlets.fileList = {&m_table, &m_duration, &m_messages, &m_pump, &m_spinner, c,     c + 1,
                            c + 2,    c + 3,       c + 4,       c + 5,   c + 6,      c + 7, c + 8};
        outlets.outputDirectoryTextField = &m_outputDirectory;
        outlets.movieDownloadDestinationTextField = &m_destination;
        const support::ProgressSheetOutlets sheet{&m_panel, &m_bar, &m_progressText, &m_timeLine,
                                                  &m_cancelButton};
        outlets.join = {&m_window,  &m_alerts,  &m_savePanel, &m_openPanel,
                        &m_chooser, &m_desktop, &m_dockTile,  sheet};
        const auto* offered = m_components ? &*m_components : nullptr;
        outlets.components = {&m_preferencesWindow, &m_panels, &m_dialog, offered};
        outlets.console = &m_console;
        return outlets;
    }

    const std::filesystem::path& dir() const { return m_dir.path(); }
    app::JoinClipController& controller() { return *m_controller; }
    support::UserDefaults& defaults() { return m_controller->defaults(); }
    std::filesystem::path picture(const std::string& name) {
        return fixtures::makePicture(dir(), name, 16, 16);
    }

    // Makes folder and stores it as the output folder through the preferences command.
    void setOutputFolder(const std::filesystem::path& folder) {
        std::filesystem::create_directories(folder);
        m_chooser.setAnswer(folder);
        ASSERT_TRUE(controller().outputFolder().choose(m_chooser));
    }

    TestFolder m_dir;
    std::unique_ptr<platform::Preferences> m_store;
    std::uint32_t m_clock = 1000;
    // The components offered from the next launch on; none: the build's own.
    std::optional<std::vector<media::ExportComponent>> m_components;

    StoredTableView m_table;
    StoredTextControl m_duration, m_outputDirectory, m_destination;
    RecordingTextControl m_messages, m_progressText, m_timeLine;
    RecordingEventPump m_pump;
    StoredProgressIndicator m_spinner;
    StoredControl m_controls[9], m_cancelButton;
    StoredDocumentWindow m_window;
    RecordingAlertPresenter m_alerts;
    RecordingSavePanel m_savePanel;
    HeadlessOpenPanel m_openPanel;
    ScriptedFolderChooser m_chooser;
    RecordingDesktopServices m_desktop;
    RecordingDockTile m_dockTile;
    StoredSheetPanel m_panel;
    StoredProgressBar m_bar;
    TestWindowHandle m_preferencesWindow;
    ScriptedSettingsPanels m_panels;
    ScriptedSettingsDialog m_dialog;
    RecordingConsole m_console;

    std::unique_ptr<app::JoinClipController> m_controller;
};

} // namespace testing_support
