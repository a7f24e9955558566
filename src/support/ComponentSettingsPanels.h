#pragma once

#include <QString>
#include <QStringList>
#include <filesystem>
#include <optional>

namespace support {

// The panels of the export settings commands: the GUI shows file dialogs,
// the command line answers from its arguments, tests from a script. None
// when the user cancelled.
class ComponentSettingsPanels {
public:
    virtual ~ComponentSettingsPanels() = default;
    // A save panel that requires the file type (an extension without the dot),
    // lets the user hide the extension when asked to, and proposes a name.
    virtual std::optional<std::filesystem::path> runSaveSettingsPanel(const QString& requiredFileType,
                                                                      const QString& suggestedName,
                                                                      bool canHideExtension) = 0;
    // An open panel for one file of the given types, with its title and prompt
    // button label; folders, movies and files of those types are shown.
    virtual std::optional<std::filesystem::path>
    runOpenSettingsPanel(const QString& title, const QString& prompt, const QStringList& fileTypes) = 0;
};

} // namespace support
