#pragma once

#include <QString>
#include <filesystem>
#include <optional>

class QWidget;

namespace ui {

// The file dialogs of the export settings commands, shown as sheets
// (window-modal) on parent; none when the user cancelled. Where to save a
// settings file of requiredFileType (an extension without the dot),
// proposing suggestedName:
std::optional<std::filesystem::path> askSettingsFileToSave(QWidget& parent, const QString& requiredFileType,
                                                           const QString& suggestedName);
// Which settings file of fileType to load (folders and every file are offered too):
std::optional<std::filesystem::path> askSettingsFileToOpen(QWidget& parent, const QString& fileType);

} // namespace ui
