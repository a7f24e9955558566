#pragma once

#include "support/Notice.h"
#include "support/PreferenceKeys.h"

#include <QString>
#include <filesystem>
#include <optional>

namespace platform {
class DesktopServices;
struct FolderChooser;
class Preferences;
} // namespace platform

namespace app {

// A folder the user keeps in the preferences, chosen, forgotten and opened
// from the preferences window: the output folder ("OutputDirectory") and
// the download folder ("DestinationDirectory", else the desktop's download
// folder) are each one of these. The preferences hold it, nothing else.
class PreferenceFolder final {
public:
    PreferenceFolder(platform::Preferences& store, support::Pref key);

    // The folder for use; none when none is kept (or it is gone).
    std::optional<std::filesystem::path> path() const;
    // What the preferences field shows: the path, or empty.
    QString displayText() const;
    // Asks chooser for a folder and keeps it; answers whether one was kept
    // (a cancelled chooser, or what is not a folder, changes nothing).
    bool choose(platform::FolderChooser& chooser);
    void clear();
    // Shows the folder in the file manager; without one, answers what tells the user why.
    [[nodiscard]] std::optional<support::Notice> open(platform::DesktopServices& desktop) const;

private:
    platform::Preferences& m_store;
    support::Pref m_key;
};

} // namespace app
