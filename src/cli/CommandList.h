#pragma once

#include "cli/CommandConsole.h"
#include "cli/OpenedPreferences.h"
#include "filelist/FileList.h"
#include "support/UserDefaults.h"

#include <QString>
#include <filesystem>
#include <iosfwd>
#include <optional>

namespace cli {

// What the commands that build a file list work with: the stored
// preferences, the list made as the window makes it, and the console its
// status lines go to (when verbose).
class CommandList final {
public:
    CommandList(std::ostream& err, bool verbose);

    OpenedPreferences& preferences() { return m_preferences; }
    support::UserDefaults& defaults() { return m_defaults; }
    filelist::FileList& list() { return m_list; }
    CommandConsole& console() { return m_console; }

private:
    CommandConsole m_console;
    OpenedPreferences m_preferences;
    support::UserDefaults m_defaults;
    filelist::FileList m_list;
};

} // namespace cli
