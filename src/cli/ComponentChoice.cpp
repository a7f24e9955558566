#include "cli/ComponentChoice.h"

#include "app/OutputFormat.h"
#include "support/UserDefaults.h"
#include "join/SettingsFile.h"

#include <ostream>

namespace cli {

bool chooseComponent(app::OutputFormat& format, const QString& title, const char* command, std::ostream& err) {
    if (format.select(title))
        return true;
    err << "joinclip " << command << ": there is no component \"" << title.toStdString()
        << "\" (joinclip components lists them)\n";
    return false;
}

bool exportThrough(app::OutputFormat& format, support::UserDefaults& defaults, const QString& title,
                   const std::optional<std::filesystem::path>& settingsFile, const char* command,
                   std::ostream& err) {
    if (!chooseComponent(format, title, command, err))
        return false;
    if (settingsFile) {
        auto settings = join::readSettingsFile(*settingsFile);
        if (!settings) {
            err << "joinclip " << command << ": " << settingsFile->string() << " is not a settings file\n";
            return false;
        }
        format.replaceSettings(std::move(*settings));
    }
    defaults.setOverride(support::Pref::Export, true);
    return true;
}

} // namespace cli
