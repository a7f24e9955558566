#pragma once

#include <filesystem>
#include <vector>

namespace platform {

// Appends to list the files directly inside folder: regular files and
// symbolic links that lead to regular files, hidden ones included (see
// isInvisible); subfolders and other kinds of items are left out. The files
// come in the text order of their names (compareInTextOrder: "clip2" before
// "clip10", "a" before "B"); names equal in that order keep the order of
// their bytes, so the order never depends on the order in which the file
// system hands out its entries. When the folder
// cannot be listed, appends nothing and answers false.
[[nodiscard]] bool CopyFolderFileRefs(const std::filesystem::path& folder,
                                      std::vector<std::filesystem::path>& list);

// Whether a file manager hides the item: its name starts with "." or is one
// of the lines of the ".hidden" file in its folder.
bool isInvisible(const std::filesystem::path& path);

} // namespace platform
