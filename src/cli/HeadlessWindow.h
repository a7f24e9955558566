#pragma once

#include "app/JoinClipController.h"
#include "filelist/TableView.h"
#include "support/Control.h"
#include "support/HeadlessEventPump.h"
#include "support/HeadlessTextControl.h"
#include "support/ProgressIndicator.h"
#include "support/StoredTextControl.h"

#include <iostream>
#include <memory>

namespace cli {

// The main window without widgets: every control keeps its state, and the
// status line goes to stderr when the command is verbose.
class HeadlessWindow final {
public:
    explicit HeadlessWindow(bool verbose)
        : m_pump(std::cerr),
          m_messages(verbose ? std::unique_ptr<support::TextControl>(new support::HeadlessTextControl(std::cerr))
                             : std::unique_ptr<support::TextControl>(new support::StoredTextControl())) {}

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
        return outlets;
    }

    const support::TextControl& durationTextField() const { return m_duration; }

private:
    filelist::StoredTableView m_table;
    support::StoredTextControl m_duration;
    support::HeadlessEventPump m_pump;
    std::unique_ptr<support::TextControl> m_messages;
    support::StoredProgressIndicator m_spinner;
    support::StoredControl m_controls[9];
    support::StoredTextControl m_outputDirectory;
    support::StoredTextControl m_destination;
};

} // namespace cli
