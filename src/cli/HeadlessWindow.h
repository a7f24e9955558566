#pragma once

#include "app/JoinClipController.h"
#include "cli/ConsoleProgressSheet.h"
#include "cli/HeadlessAlertPresenter.h"
#include "cli/HeadlessTextControl.h"
#include "cli/InterruptibleEventPump.h"
#include "cli/StreamConsole.h"
#include "filelist/TableView.h"
#include "platform/DesktopServices.h"
#include "platform/DockTile.h"
#include "platform/FolderChooser.h"
#include "support/Control.h"
#include "support/DocumentWindow.h"
#include "support/ProgressIndicator.h"
#include "support/SavePanel.h"
#include "support/StoredTextControl.h"

#include <iostream>
#include <memory>

namespace cli {

// The main window without widgets: every control keeps its state; alerts,
// the write progress and, when the command is verbose, the status line go
// to err. The save panel answers what the command's arguments name, no
// folder is ever chosen interactively, and Ctrl-C stands for Cancel.
class HeadlessWindow final {
public:
    explicit HeadlessWindow(bool verbose, std::ostream& err = std::cerr)
        : m_pump(err),
          m_messages(verbose ? std::unique_ptr<support::TextControl>(new HeadlessTextControl(err))
                             : std::unique_ptr<support::TextControl>(new support::StoredTextControl())),
          m_alerts(err), m_desktop(err), m_progressSheet(err), m_console(err) {
        if (auto* lines = dynamic_cast<HeadlessTextControl*>(m_messages.get()))
            lines->setBeforeEachLine([this] { m_progressSheet.endLine(); });
    }

    app::MainWindowOutlets outlets() {
        app::MainWindowOutlets outlets;
        filelist::FileListOutlets& list = outlets.fileList;
        list.movieTable = &m_table;
        list.durationTextField = &m_duration;
        list.messagesTextField = m_messages.get();
        list.eventPump = &m_pump;
        list.spinner = &m_spinner;
        list.clearButton = &m_controls[0];
        list.joinButton = &m_controls[1];
        list.exportButton = &m_controls[2];
        list.reverseButton = &m_controls[3];
        list.sortButton = &m_controls[4];
        list.titleSortButton = &m_controls[5];
        list.dateSortButton = &m_controls[6];
        list.createDateSortButton = &m_controls[7];
        list.exifSortButton = &m_controls[8];
        outlets.outputDirectoryTextField = &m_outputDirectory;
        outlets.movieDownloadDestinationTextField = &m_destination;
        app::JoinCommandOutlets& join = outlets.join;
        join.fileListWindow = &m_window;
        join.alerts = &m_alerts;
        join.savePanel = &m_savePanel;
        join.folderChooser = &m_folderChooser;
        join.desktop = &m_desktop;
        join.dockTile = &m_dockTile;
        join.progressSheet = m_progressSheet.outlets();
        outlets.console = &m_console;
        return outlets;
    }

    const support::TextControl& durationTextField() const { return m_duration; }
    support::HeadlessSavePanel& savePanel() { return m_savePanel; }
    InterruptibleEventPump& eventPump() { return m_pump; }

private:
    struct NoFolderChooser final : platform::FolderChooser {
        std::optional<std::filesystem::path> chooseFolder(const QString&, const QString&,
                                                          const QString&) override {
            return std::nullopt;
        }
    };

    filelist::StoredTableView m_table;
    support::StoredTextControl m_duration;
    InterruptibleEventPump m_pump;
    std::unique_ptr<support::TextControl> m_messages;
    support::StoredProgressIndicator m_spinner;
    support::StoredControl m_controls[9];
    support::StoredTextControl m_outputDirectory;
    support::StoredTextControl m_destination;
    support::StoredDocumentWindow m_window;
    HeadlessAlertPresenter m_alerts;
    support::HeadlessSavePanel m_savePanel;
    NoFolderChooser m_folderChooser;
    platform::HeadlessDesktopServices m_desktop;
    platform::StoredDockTile m_dockTile;
    ConsoleProgressSheet m_progressSheet;
    StreamConsole m_console;
};

} // namespace cli
