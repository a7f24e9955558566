#pragma once

#include "filelist/FileList.h"
#include "filelist/ListRenaming.h"

#include <QString>

namespace support {
class Console;
}

namespace app {

// What a batch rename tells: the console says why each refused file kept its
// name, and the status line returned says how many files were renamed and
// names those that were not.
[[nodiscard]] QString reportRenames(const filelist::RenameOutcome& outcome, support::Console& console);

} // namespace app
