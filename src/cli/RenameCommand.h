#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace cli {

// `joinclip rename --number|--unnumber [--sort-by KEY] [--reverse] PATH...`:
// builds the file list from the paths (one after another, a folder adding
// its files), orders it when asked, and renames the files as the window's
// commands do: --number puts the list position ("000001 ") in front of every
// name, --unnumber removes everything up to the first blank. Prints one line
// per renamed file, the old and the new path separated by a tab (escaped as
// list's cells are); a rename that would replace another file, or that the
// file system refuses, is told on err and the file keeps its name. Answers
// 0 when every path was added and renamed, 1 otherwise, 2 for a usage error.
int runRenameCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace cli
