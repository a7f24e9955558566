#pragma once

#include "filelist/FileList.h"

#include <filesystem>
#include <iosfwd>
#include <vector>

namespace cli {

// Whether `path` names a folder (false when it cannot be looked at).
[[nodiscard]] bool isFolder(const std::filesystem::path& path);

// Adds the paths named on the command line to the list. One after another,
// each at the end of the list (a folder adds its files), or with `asBatch`
// as one batch the way the browse panel adds them. The joined movie is named
// after the last file added one at a time. Every path that can add nothing is told on
// err with the reason (no such path, not a movie, picture or sound file that
// can be read); answers how many there were.
int addPaths(filelist::FileList& list, const std::vector<std::filesystem::path>& paths, bool asBatch,
             std::ostream& err);

} // namespace cli
