#pragma once

#include <QString>
#include <filesystem>
#include <optional>

namespace filelist {

// The default base name of joined movies, from the item last added to the
// list: its name without extension, and for a file " and N others" where N
// is the number of other entries ("other" when there is one). None when the
// item's name cannot be read.
[[nodiscard]] std::optional<QString> defaultBaseName(const std::filesystem::path& item, bool isFolder, int listCount);

} // namespace filelist
