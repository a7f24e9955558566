#include "app/OutputFormat.h"

#include "join/LoadAndEditExporterSettings.h"
#include "support/UserDefaults.h"

namespace app {

OutputFormat::OutputFormat(support::UserDefaults& defaults) : m_defaults(defaults) {}

void OutputFormat::load() {
    m_components.reset();
    m_settings = join::settingsFromPreferenceValue(m_defaults.value(support::Pref::ExportSettings));
}

void OutputFormat::load(const std::vector<media::ExportComponent>& offered) {
    load();
    build(offered);
}

void OutputFormat::build(const std::vector<media::ExportComponent>& offered) const {
    m_components.emplace();
    join::BuildComponentTable(*m_components, offered);
    const QStringList titles = m_components->titles();
    m_selected = titles.isEmpty() ? QString() : titles.constFirst();
    if (m_defaults.isPresent(support::Pref::ComponentName)) {
        const QString stored = m_defaults.textValue(support::Pref::ComponentName);
        if (m_components->contains(stored))
            m_selected = stored;
    }
}

const join::ComponentTable& OutputFormat::components() const {
    if (!m_components)
        build(media::exportComponents());
    return *m_components;
}

bool OutputFormat::isExporting() const {
    return m_defaults.boolValue(support::Pref::Export);
}

bool OutputFormat::select(const QString& title) {
    if (!components().contains(title))
        return false;
    m_selected = title;
    m_defaults.setValue(support::Pref::ComponentName, title);
    return true;
}

std::optional<QString> OutputFormat::selectedTitle() const {
    if (!components().contains(m_selected))
        return std::nullopt;
    return m_selected;
}

std::optional<join::ComponentDescription> OutputFormat::selected() const {
    if (const join::ComponentDescription* description = components().find(m_selected))
        return *description;
    return std::nullopt;
}

std::optional<QByteArray> OutputFormat::selectedSettings() const {
    const auto found = m_settings.constFind(m_selected);
    if (found == m_settings.cend())
        return std::nullopt;
    return *found;
}

bool OutputFormat::hasSettingsForm(const QString& title) const {
    const join::ComponentDescription* description = components().find(title);
    if (!description || !description->exporter)
        return true;
    return join::ComponentHasUserInterface(media::kExportComponentType, description->exporter.get());
}

void OutputFormat::setSettings(const QString& title, const QByteArray& settings) {
    m_settings.insert(title, settings);
    storeSettings();
}

void OutputFormat::replaceSettings(join::SettingsDictionary settings) {
    m_settings = std::move(settings);
    storeSettings();
}

void OutputFormat::storeSettings() {
    m_defaults.setValue(support::Pref::ExportSettings, join::settingsPreferenceValue(m_settings));
}

std::optional<QString> OutputFormat::extension() const {
    if (!isExporting())
        return QString(".mov");
    const auto component = selected();
    if (!component)
        return std::nullopt;
    return component->extension;
}

} // namespace app
