#include "join/ExportChoice.h"

#include "join/ComponentTable.h"
#include "join/SettingsFile.h"

#include <cerrno>

namespace join {

std::expected<ExportChoice, media::Error>
chooseExport(const QString& title, const std::optional<std::filesystem::path>& settingsFile) {
    ComponentTable table;
    BuildComponentTable(table);
    const ComponentDescription* description = table.find(title);
    if (!description)
        return std::unexpected(media::Error{ENOENT, "there is no component \"" + title.toStdString() +
                                                        "\" (joinclip components lists them)"});
    ExportChoice choice;
    choice.component = *description;
    if (settingsFile) {
        const auto settings = readSettingsFile(*settingsFile);
        if (!settings)
            return std::unexpected(media::Error{EINVAL, settingsFile->string() + " is not a settings file"});
        if (settings->contains(title))
            choice.settings = settings->value(title);
    }
    return choice;
}

} // namespace join
