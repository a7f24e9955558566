#pragma once

#include <QString>
#include <filesystem>
#include <optional>

namespace platform {

// Names split at their last dot, as a desktop that hides extensions shows
// them: "Holiday.mov" has the extension "mov". A leading dot belongs to the
// name (".profile" has no extension), and so does a dot at the end of the
// name ("notes." has no extension). Path bytes are decoded as QFile::decodeName
// does. (The name shown without its extension is media::displayNameOfFile: a
// movie's display name follows that rule.)

// The extension without its dot; none when the name has none.
[[nodiscard]] std::optional<QString> CopyNameExtension(const std::filesystem::path& path);

// Gives the item at path the extension (".mov"; a missing dot is added) when its name
// has none, renaming it, and answers the new path. Answers none and changes
// nothing when the path is longer than 255 bytes, nothing exists there, the
// name already has an extension, or something already has the new name (it
// is never replaced). A name ending in a dot gets the extension without a
// second dot ("notes." becomes "notes.mov").
[[nodiscard]] std::optional<std::filesystem::path>
AddNameExtensionIfMissing(const std::filesystem::path& path, const QString& extension);

} // namespace platform
