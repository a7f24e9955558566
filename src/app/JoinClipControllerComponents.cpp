// The export component commands of JoinClipController: the component menu,
// the settings of each component (edited, saved to and loaded from settings
// files) and their place in the preferences across restarts.

#include "app/JoinClipController.h"
#include "join/LoadAndEditExporterSettings.h"
#include "platform/Preferences.h"
#include "support/DoAlert.h"
#include "support/FormatText.h"
#include "support/LocalizedString.h"

#include <QFile>

namespace app {

namespace {

QString selectedTitle(const ExportComponentOutlets& outlets) {
    return outlets.componentPopupButton ? outlets.componentPopupButton->titleOfSelectedItem() : QString();
}

void enableSettingsButtons(const ExportComponentOutlets& outlets, bool enabled) {
    for (support::Control* button :
         {outlets.exportSettingsButton, outlets.exportSaveSettingsButton, outlets.exportLoadSettingsButton})
        if (button)
            button->setEnabled(enabled);
}

} // namespace

void JoinClipController::launchExportComponents() {
    const ExportComponentOutlets& outlets = m_outlets.components;
    if (outlets.availableComponents)
        join::BuildComponentTable(m_componentTable, *outlets.availableComponents);
    else
        join::BuildComponentTable(m_componentTable);
    initComponentsMenu();
    m_exportSettingsForComponentDictionary =
        join::settingsFromPreferenceValue(m_defaults.value(support::Pref::ExportSettings));
}

void JoinClipController::terminateExportComponents() {
    const QString title = selectedTitle(m_outlets.components);
    // Without a selection (no component at all) there is no title to remember.
    if (title.isEmpty())
        m_defaults.remove(support::Pref::ComponentName);
    else
        m_defaults.setValue(support::Pref::ComponentName, title);
    m_defaults.setValue(support::Pref::ExportSettings,
                        join::settingsPreferenceValue(m_exportSettingsForComponentDictionary));
}

void JoinClipController::initComponentsMenu() {
    support::PopupButton* menu = m_outlets.components.componentPopupButton;
    if (!menu)
        return;
    menu->removeAllItems();
    for (const QString& title : m_componentTable.titles())
        menu->addItem(title, m_componentTable.find(title)->info);
    menu->selectItemAtIndex(0);
    if (m_defaults.isPresent(support::Pref::ComponentName)) {
        const QString title = m_defaults.textValue(support::Pref::ComponentName);
        menu->selectItemWithTitle(title);
        enableSettingsButtons(m_outlets.components, exportComponentHasUI(title));
    }
}

bool JoinClipController::exportComponentHasUI(const QString& title) const {
    const join::ComponentDescription* description = m_componentTable.find(title);
    if (!description || !description->exporter)
        return true;
    return join::ComponentHasUserInterface(media::kExportComponentType, description->exporter.get());
}

void JoinClipController::componentPopUpButtonClicked() {
    enableSettingsButtons(m_outlets.components, exportComponentHasUI(selectedTitle(m_outlets.components)));
}

void JoinClipController::codecSettingsClicked() {
    const ExportComponentOutlets& outlets = m_outlets.components;
    const QString title = selectedTitle(outlets);
    const join::ComponentDescription* description = m_componentTable.find(title);
    if (!description)
        return;
    std::optional<QByteArray> stored;
    if (const auto found = m_exportSettingsForComponentDictionary.constFind(title);
        found != m_exportSettingsForComponentDictionary.cend())
        stored = *found;
    if (const auto settings =
            join::loadAndEditExporterSettings(*description, stored, true, outlets.settingsDialog, console()))
        m_exportSettingsForComponentDictionary.insert(title, *settings);
}

void JoinClipController::codecSaveSettingsClicked() {
    const ExportComponentOutlets& outlets = m_outlets.components;
    if (!outlets.panels)
        return;
    const auto file = outlets.panels->runSaveSettingsPanel("qxst", "Settings", true);
    if (!file)
        return;
    const QString title = selectedTitle(outlets);
    const join::ComponentDescription* description = m_componentTable.find(title);
    if (!description)
        return;
    // Settings never edited are saved as the component's current ones.
    if (!m_exportSettingsForComponentDictionary.contains(title))
        if (const auto settings =
                join::loadAndEditExporterSettings(*description, std::nullopt, false, nullptr, console()))
            m_exportSettingsForComponentDictionary.insert(title, *settings);
    const bool saved = join::writeSettingsFile(*file, m_exportSettingsForComponentDictionary);
    const QString format =
        saved ? "All export settings were saved to: %@" : "All export settings could not be saved to: %@";
    doAlert(format, " ", outlets.preferencesWindow, {QFile::decodeName(file->c_str())});
}

void JoinClipController::codecLoadSettingsClicked() {
    const ExportComponentOutlets& outlets = m_outlets.components;
    if (!outlets.panels)
        return;
    const auto file = outlets.panels->runOpenSettingsPanel("Choose a settings file", "Choose", {"qxst"});
    if (!file)
        return;
    auto loaded = join::readSettingsFile(*file);
    if (!loaded)
        return;
    m_exportSettingsForComponentDictionary = std::move(*loaded);
    codecSettingsClicked();
}

bool JoinClipController::isExporting() const {
    return m_defaults.boolValue(support::Pref::Export);
}

std::optional<QString> JoinClipController::selectedComponentTitle() const {
    const QString title = selectedTitle(m_outlets.components);
    if (!m_componentTable.find(title))
        return std::nullopt;
    return title;
}

std::optional<join::ComponentDescription> JoinClipController::selectedComponent() const {
    if (const join::ComponentDescription* description =
            m_componentTable.find(selectedTitle(m_outlets.components)))
        return *description;
    return std::nullopt;
}

std::optional<QByteArray> JoinClipController::selectedComponentSettings() const {
    const auto found = m_exportSettingsForComponentDictionary.constFind(selectedTitle(m_outlets.components));
    if (found == m_exportSettingsForComponentDictionary.cend())
        return std::nullopt;
    return *found;
}

std::optional<QString> JoinClipController::getExtension() const {
    if (!isExporting())
        return QString(".mov");
    const auto component = selectedComponent();
    if (!component)
        return std::nullopt;
    return component->extension;
}

bool JoinClipController::checkComponentSelected() {
    if (selectedComponent())
        return true;
    doAlert("No export component is selected.",
            "Choose one in the Preferences window under 'Output Format', or turn exporting off.",
            m_outlets.join.fileListWindow);
    return false;
}

} // namespace app
