#pragma once

// A controller with recording ports for the Join command, the progress sheet
// and the output folder commands, over a preferences file of its own.

#include "RecordingAlertPresenter.h"
#include "RecordingDesktopPorts.h"
#include "RecordingEventPump.h"
#include "RecordingTextControl.h"
#include "app/JoinClipController.h"
#include "filelist/TableView.h"
#include "platform/Preferences.h"
#include "support/Control.h"
#include "support/DocumentWindow.h"
#include "support/PopupButton.h"
#include "support/ProgressIndicator.h"
#include "support/StoredTextControl.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace testing_support {

class JoinHarness : public ::testing::Test {
protected:
    using Status = app::JoinOutcome::Status;

    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_store = std::make_unique<platform::Preferences>(dir() / "config" / "preferences.plist");
        makeController({});
    }

    // Remakes the controller (an empty list) with these services; the clock is the test's.
    void makeController(app::JoinServices services) {
        if (!services.clock)
            services.clock = [this] { return m_clock; };
        filelist::FileList::Services listServices;
        listServices.previewImage = [](const std::filesystem::path&) { return std::optional<QImage>(); };
        m_controller.reset();
        m_controller = std::make_unique<app::JoinClipController>(*m_store, outlets(), listServices, std::move(services));
    }

    app::MainWindowOutlets outlets() {
        app::MainWindowOutlets outlets;
        filelist::FileListOutlets& list = outlets.fileList;
        list.movieTable = &m_table;
        list.durationTextField = &m_duration;
        list.messagesTextField = &m_messages;
        list.eventPump = &m_pump;
        list.spinner = &m_spinner;
        support::Control** controls[] = {&list.clearButton,  &list.joinButton,     &list.exportButton,
                                         &list.reverseButton, &list.sortButton,     &list.titleSortButton,
                                         &list.dateSortButton, &list.createDateSortButton, &list.exifSortButton};
        for (std::size_t i = 0; i < std::size(controls); ++i)
            *controls[i] = &m_controls[i];
        outlets.outputDirectoryTextField = &m_outputDirectory;
        outlets.movieDownloadDestinationTextField = &m_destination;
        app::JoinCommandOutlets& join = outlets.join;
        join.fileListWindow = &m_window;
        join.alerts = &m_alerts;
        join.savePanel = &m_savePanel;
        join.folderChooser = &m_chooser;
        join.desktop = &m_desktop;
        join.dockTile = &m_dockTile;
        join.progressSheet = {&m_panel, &m_bar, &m_progressText, &m_timeLine, &m_cancelButton};
        outlets.components.componentPopupButton = &m_componentMenu;
        return outlets;
    }

    std::filesystem::path dir() const { return m_dir.path().toStdString(); }
    app::JoinClipController& controller() { return *m_controller; }
    support::UserDefaults& defaults() { return m_controller->defaults(); }

    // Stores folder as the output folder through the preferences command.
    void setOutputFolder(const std::filesystem::path& folder) {
        m_chooser.setAnswer(folder);
        controller().selectOutputDirectory();
    }

    QTemporaryDir m_dir;
    std::unique_ptr<platform::Preferences> m_store;
    std::uint32_t m_clock = 1000;

    filelist::StoredTableView m_table;
    support::StoredTextControl m_duration;
    RecordingTextControl m_messages;
    RecordingEventPump m_pump;
    support::StoredProgressIndicator m_spinner;
    support::StoredControl m_controls[9];
    support::StoredTextControl m_outputDirectory;
    support::StoredTextControl m_destination;
    support::StoredDocumentWindow m_window;
    RecordingAlertPresenter m_alerts;
    RecordingSavePanel m_savePanel;
    ScriptedFolderChooser m_chooser;
    RecordingDesktopServices m_desktop;
    RecordingDockTile m_dockTile;
    support::StoredPopupButton m_componentMenu;
    support::StoredSheetPanel m_panel;
    support::StoredProgressBar m_bar;
    RecordingTextControl m_progressText;
    RecordingTextControl m_timeLine;
    support::StoredControl m_cancelButton;

    std::unique_ptr<app::JoinClipController> m_controller;
};

} // namespace testing_support
