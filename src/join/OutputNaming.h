#pragma once

#include "join/ReservedName.h"

#include <QDateTime>
#include <QString>
#include <filesystem>
#include <optional>

namespace join {

// The default output path: folder/base+extension ("Untitled" without a base
// name); when a file is already there, the name gets "-[date time zone]" with
// dots for colons, and when that is taken too (a run of the same second),
// " 2", " 3", ... after the stamp. A base name too long for the folder's
// names is shortened, at a character boundary, so the whole name fits. The
// folder is used as the bytes it is (it need not be UTF-8). None without an
// output folder.
[[nodiscard]] std::optional<std::filesystem::path> defaultFilename(const std::optional<std::filesystem::path>& outputFolder,
                                                     const std::optional<QString>& baseName,
                                                     const QString& extension,
                                                     const QDateTime& now = QDateTime::currentDateTime());

// The same name made ours (see ReservedName), so that it is still free when
// the movie is written there. None without an output folder, or when no name
// could be created in it.
[[nodiscard]] std::optional<ReservedName> reserveDefaultFilename(const std::optional<std::filesystem::path>& outputFolder,
                                                   const std::optional<QString>& baseName,
                                                   const QString& extension,
                                                   const QDateTime& now = QDateTime::currentDateTime());

// The name suggested when the user is asked where to save the joined movie.
QString defaultFilenameWithSaveCount(const std::optional<QString>& baseName, const QString& extension);

} // namespace join
