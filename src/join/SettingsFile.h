#pragma once

// Export settings by component menu title, and the settings file (".qxst")
// that holds all of them: an XML property list whose root dictionary maps
// each title to its settings bytes.

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QVariant>
#include <filesystem>
#include <optional>

namespace join {

using SettingsDictionary = QMap<QString, QByteArray>;

// Writes every entry, atomically; false when the file could not be written.
[[nodiscard]] bool writeSettingsFile(const std::filesystem::path& file, const SettingsDictionary& settings);
// The file's entries; none when it is not a property list with a dictionary
// at its root (XML or binary). Entries whose value is not bytes are left out:
// they cannot be settings.
[[nodiscard]] std::optional<SettingsDictionary> readSettingsFile(const std::filesystem::path& file);

// The dictionary as the preferences keep it ("ExportSettings"), and back
// (a value that is not a dictionary gives an empty one).
QVariant settingsPreferenceValue(const SettingsDictionary& settings);
SettingsDictionary settingsFromPreferenceValue(const QVariant& value);

} // namespace join
