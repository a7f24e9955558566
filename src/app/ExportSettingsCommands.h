#pragma once

#include "app/ExportComponentOutlets.h"

namespace support {
class AlertPresenter;
class Console;
} // namespace support

namespace app {

class OutputFormat;

// The export settings commands of the preferences window: the chosen
// component's settings edited in its dialog, and every component's settings
// saved to and loaded from a settings file. The choice and the settings
// themselves are the output format's.
class ExportSettingsCommands final {
public:
    ExportSettingsCommands(OutputFormat& format, const ExportComponentOutlets& outlets,
                           support::AlertPresenter* alerts, support::Console& console);

    void edit();
    // Asks where, writes the file, and says whether it was written.
    void save();
    // Asks which file, replaces every setting with its own, then edits the chosen one's.
    void load();

private:
    OutputFormat& m_format;
    const ExportComponentOutlets& m_outlets;
    support::AlertPresenter* m_alerts;
    support::Console& m_console;
};

} // namespace app
