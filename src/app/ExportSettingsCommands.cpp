#include "app/ExportSettingsCommands.h"

#include "app/OutputFormat.h"
#include "join/LoadAndEditExporterSettings.h"
#include "support/DoAlert.h"

#include <QFile>

namespace app {

ExportSettingsCommands::ExportSettingsCommands(OutputFormat& format, const ExportComponentOutlets& outlets,
                                               support::AlertPresenter* alerts, support::Console& console)
    : m_format(format), m_outlets(outlets), m_alerts(alerts), m_console(console) {}

void ExportSettingsCommands::edit() {
    const std::optional<QString> title = m_format.selectedTitle();
    if (!title)
        return;
    if (const auto settings = join::loadAndEditExporterSettings(*m_format.selected(), m_format.selectedSettings(),
                                                                true, m_outlets.settingsDialog, m_console))
        m_format.setSettings(*title, *settings);
}

void ExportSettingsCommands::save() {
    if (!m_outlets.panels)
        return;
    const auto file = m_outlets.panels->runSaveSettingsPanel("qxst", "Settings", true);
    if (!file)
        return;
    const std::optional<QString> title = m_format.selectedTitle();
    if (!title)
        return;
    // Settings never edited are saved as the component's current ones.
    if (!m_format.selectedSettings())
        if (const auto settings =
                join::loadAndEditExporterSettings(*m_format.selected(), std::nullopt, false, nullptr, m_console))
            m_format.setSettings(*title, *settings);
    const bool saved = join::writeSettingsFile(*file, m_format.settings());
    if (!m_alerts)
        return;
    const QStringList name{QFile::decodeName(file->c_str())};
    if (saved)
        support::doAlert(*m_alerts, "All export settings were saved to: %@", " ", m_outlets.preferencesWindow, name);
    else
        support::doErrorAlert(*m_alerts, "All export settings could not be saved to: %@", " ",
                              m_outlets.preferencesWindow, name);
}

void ExportSettingsCommands::load() {
    if (!m_outlets.panels)
        return;
    const auto file = m_outlets.panels->runOpenSettingsPanel("Choose a settings file", "Choose", {"qxst"});
    if (!file)
        return;
    auto loaded = join::readSettingsFile(*file);
    if (!loaded)
        return;
    m_format.replaceSettings(std::move(*loaded));
    edit();
}

} // namespace app
