// The export settings commands of the preferences window: the chosen
// component's settings edited in its dialog, and every component's settings
// saved to and loaded from a settings file. The choice and the settings
// themselves are the output format's.

#include "app/JoinClipController.h"
#include "app/CommandRequests.h"
#include "join/LoadAndEditExporterSettings.h"
#include "support/DoAlert.h"

#include <QFile>

namespace app {

void JoinClipController::editExportSettings() {
    const ExportComponentOutlets& outlets = m_outlets.components;
    const std::optional<QString> title = m_outputFormat.selectedTitle();
    if (!title)
        return;
    if (const auto settings = join::loadAndEditExporterSettings(*m_outputFormat.selected(),
                                                                m_outputFormat.selectedSettings(), true,
                                                                outlets.settingsDialog, console()))
        m_outputFormat.setSettings(*title, *settings);
}

void JoinClipController::saveExportSettings() {
    const ExportComponentOutlets& outlets = m_outlets.components;
    if (!outlets.panels)
        return;
    const auto file = outlets.panels->runSaveSettingsPanel("qxst", "Settings", true);
    if (!file)
        return;
    const std::optional<QString> title = m_outputFormat.selectedTitle();
    if (!title)
        return;
    // Settings never edited are saved as the component's current ones.
    if (!m_outputFormat.selectedSettings())
        if (const auto settings =
                join::loadAndEditExporterSettings(*m_outputFormat.selected(), std::nullopt, false, nullptr, console()))
            m_outputFormat.setSettings(*title, *settings);
    const bool saved = join::writeSettingsFile(*file, m_outputFormat.settings());
    const QString format =
        saved ? "All export settings were saved to: %@" : "All export settings could not be saved to: %@";
    doAlert(format, " ", outlets.preferencesWindow, {QFile::decodeName(file->c_str())});
}

void JoinClipController::loadExportSettings() {
    const ExportComponentOutlets& outlets = m_outlets.components;
    if (!outlets.panels)
        return;
    const auto file = outlets.panels->runOpenSettingsPanel("Choose a settings file", "Choose", {"qxst"});
    if (!file)
        return;
    auto loaded = join::readSettingsFile(*file);
    if (!loaded)
        return;
    m_outputFormat.replaceSettings(std::move(*loaded));
    editExportSettings();
}

bool JoinClipController::checkComponentSelected() {
    if (m_outputFormat.selected())
        return true;
    const Refusal refusal = noComponentRefusal();
    doAlert(refusal.message, refusal.informative, m_outlets.join.fileListWindow);
    return false;
}

} // namespace app
