#pragma once

#include "filelist/TableView.h"
#include "support/Control.h"
#include "support/EventPump.h"
#include "support/ProgressIndicator.h"
#include "support/TextControl.h"

namespace filelist {

// The main window's controls that the file list drives. Every pointer is set
// (the command line and the tests give stored controls).
struct FileListOutlets final {
    TableView* movieTable = nullptr;
    support::TextControl* durationTextField = nullptr;
    support::TextControl* messagesTextField = nullptr;
    support::EventPump* eventPump = nullptr;
    support::ProgressIndicator* spinner = nullptr;
    // List controls: enabled while the list holds at least one entry.
    support::Control* clearButton = nullptr;
    support::Control* joinButton = nullptr;
    support::Control* exportButton = nullptr;
    // Ordering controls: enabled while the list holds at least two entries.
    support::Control* reverseButton = nullptr;
    support::Control* sortButton = nullptr;
    support::Control* titleSortButton = nullptr;
    support::Control* dateSortButton = nullptr;
    support::Control* createDateSortButton = nullptr;
    support::Control* exifSortButton = nullptr;
};

} // namespace filelist
