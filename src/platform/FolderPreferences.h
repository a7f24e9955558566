#pragma once

#include "platform/FolderChooser.h"
#include "platform/Preferences.h"

#include <QString>
#include <filesystem>
#include <optional>

namespace platform {

// Folders kept in the preferences as file reference data (see getAlias), so
// they are found again after being renamed or moved.

// The folder that key's file reference data leads to; none when the key is
// absent, its value is not a non-empty byte block, or it leads to no folder.
[[nodiscard]] std::optional<std::filesystem::path> CopyFolderPreference(const Preferences& preferences,
                                                                        const QString& key);

// The folders for use: none when the path is longer than 1,022 bytes.
// "OutputDirectory", with no fallback.
[[nodiscard]] std::optional<std::filesystem::path> CopyOutputFolderPath(const Preferences& preferences);
// "DestinationDirectory", else the XDG download folder when it exists.
[[nodiscard]] std::optional<std::filesystem::path> CopyDestinationFolderPath(const Preferences& preferences);

// What the folder chooser shows, in the user's language (the caller localizes it).
struct FolderQuestion final {
    QString title;
    QString actionLabel;
    QString message;
};

// Asks chooser for a folder and keeps it under key (synchronizing the
// preferences); answers its display text (see folderPreferenceDisplayText),
// none when it is too long for one. When nothing is chosen, or what is
// chosen is not an existing folder, changes nothing and answers none.
[[nodiscard]] std::optional<QString> ChooseFolderPreference(Preferences& preferences, FolderChooser& chooser,
                                                            const FolderQuestion& question,
                                                            const QString& key);

// Forgets key's folder and synchronizes the preferences.
void ClearFolderPreference(Preferences& preferences, const QString& key);

// The text a preferences field shows for a folder: its path when it fits in
// 254 bytes, else (and for none) empty.
QString folderPreferenceDisplayText(const std::optional<std::filesystem::path>& folder);

} // namespace platform
