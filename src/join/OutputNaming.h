#pragma once

#include <QDateTime>
#include <QString>
#include <filesystem>
#include <optional>

namespace join {

// The default base name of joined movies, from the item last added to the
// list: its name without extension, and for a file " and N others" where N
// is the number of other entries ("other" when there is one). None when the
// item's name cannot be read.
[[nodiscard]] std::optional<QString> makeDefaultFilename(const std::filesystem::path& item, bool isFolder,
                                                         int listCount);

// The default output path: folder/base+extension ("Untitled" without a base
// name); when a file is already there, the name gets "-[date time zone]" with
// dots for colons. None without an output folder.
[[nodiscard]] std::optional<std::filesystem::path>
defaultFilename(const std::optional<std::filesystem::path>& outputFolder,
                const std::optional<QString>& baseName, const QString& extension,
                const QDateTime& now = QDateTime::currentDateTime());

// The name suggested in the save panel.
QString defaultFilenameWithSaveCount(const std::optional<QString>& baseName, const QString& extension);

} // namespace join
