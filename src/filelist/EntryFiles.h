#pragma once

#include <filesystem>
#include <optional>
#include <vector>

namespace filelist {

class FileList;

// The paths of the entries whose files can be found, in list order.
[[nodiscard]] std::vector<std::filesystem::path> resolvedPaths(const FileList& list);

// The row that Open, Reveal and the double click act on: the last selected
// one when several are; none when no row is selected.
std::optional<int> lastSelectedRow(const std::vector<int>& selectedRows);

// The file that Open and the double click hand to the desktop: the entry's
// file when the row is one of the list and a file still exists there.
std::optional<std::filesystem::path> fileToOpen(const FileList& list, std::optional<int> row);
// The file that Reveal shows in the file manager: the entry's file when it resolves.
std::optional<std::filesystem::path> fileToReveal(const FileList& list, std::optional<int> row);

// Which files the add-files dialog offers: folders, files that open as movies, and saved
// export settings (".qxst").
bool shouldShowFilename(const std::filesystem::path& path);

} // namespace filelist
