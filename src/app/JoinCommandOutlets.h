#pragma once

#include "support/AlertPresenter.h"
#include "support/DocumentWindow.h"
#include "support/OpenPanel.h"
#include "support/ProgressSheet.h"
#include "support/SavePanel.h"

#include <QString>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>

namespace platform {
class DesktopServices;
class DockTile;
struct FolderChooser;
} // namespace platform

namespace app {

// The windows, panels and desktop services the Join command and the output
// folder commands talk to. Every pointer is set (the command line and the
// tests give headless or recording ones).
struct JoinCommandOutlets final {
    support::DocumentWindow* fileListWindow = nullptr;
    support::AlertPresenter* alerts = nullptr;
    support::SavePanel* savePanel = nullptr;
    // Chooses a file to read (the list import); may be unset where nothing is imported.
    support::OpenPanel* openPanel = nullptr;
    platform::FolderChooser* folderChooser = nullptr;
    platform::DesktopServices* desktop = nullptr;
    platform::DockTile* dockTile = nullptr;
    support::ProgressSheetOutlets progressSheet;
};

// Work that other parts of the application do for the Join command.
struct JoinServices final {
    // The clock of the time estimates, in whole seconds (any origin; only
    // differences count). Empty: the system clock.
    std::function<std::uint32_t()> clock;
};

// How a Join command ended.
struct JoinOutcome final {
    enum class Status {
        NothingToJoin,  // the list was empty, or none of its files is left
        NoComponent,    // exporting is on and no component is selected (told in an alert)
        NotSaved,       // the save panel was cancelled, or the path was refused
        WriteFailed,    // told to the user in an alert
        WriteCancelled, // from the progress sheet; nothing was written
        Written,
        Started, // running in the background: the outcome comes when it ends
    };
    Status status = Status::NothingToJoin;
    std::filesystem::path path; // the final path of the written file
    std::optional<bool> scaled; // when a desired duration was asked for: whether it was applied
};

} // namespace app
