#pragma once

#include "support/Notice.h"

#include <QObject>
#include <QString>
#include <filesystem>
#include <functional>
#include <optional>

namespace join {
class ExportSettingsDialog;
}
namespace support {
class Console;
}

namespace app {

class OutputFormat;

// The export settings commands of the preferences window: the chosen
// component's settings edited in its dialog, and every component's settings
// saved to and loaded from a settings file. The choice and the settings
// themselves are the output format's.
class ExportSettingsCommands final : public QObject {
    Q_OBJECT
public:
    // Asks for a settings file of fileType (an extension without the dot):
    // where to save one, proposing suggestedName, or, without a suggested
    // name, which one to load. None when the user cancelled.
    using AskSettingsFile =
        std::function<std::optional<std::filesystem::path>(const QString& fileType, const QString& suggestedName)>;

    ExportSettingsCommands(OutputFormat& format, support::Console& console, QObject* parent = nullptr);

    // Edits the chosen component's settings in dialog (the component's own
    // fields); nothing without a chosen component.
    void edit(join::ExportSettingsDialog& dialog);
    // Asks where, writes the file, and says whether it was written.
    void save(const AskSettingsFile& askWhere);
    // Asks which file, replaces every setting with its own, then edits the chosen one's.
    void load(const AskSettingsFile& askWhich, join::ExportSettingsDialog& dialog);

signals:
    void noticed(const support::Notice& notice);

private:
    OutputFormat& m_format;
    support::Console& m_console;
};

} // namespace app
