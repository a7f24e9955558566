#pragma once

#include "join/ComponentTable.h"
#include "join/SettingsFile.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace support {
class UserDefaults;
}

namespace app {

// The output format of joins and exports: whether they go through an export
// component (the "Export" preference), which one (by its menu title), and
// the settings of each component. One copy of each, stored in the
// preferences ("ComponentName", "ExportSettings") when it changes.
class OutputFormat final {
public:
    explicit OutputFormat(support::UserDefaults& defaults);

    // Builds the table from the components offered and takes the stored
    // choice (else the first component) and settings. Without components,
    // those of this build are discovered when the table is first needed:
    // discovering them loads FFmpeg, which a join without export never needs.
    void load();
    void load(const std::vector<media::ExportComponent>& offered);
    const join::ComponentTable& components() const;

    // The "Export" preference.
    bool isExporting() const;
    // Chooses the component with that title; false, changing nothing, without one.
    bool select(const QString& title);
    std::optional<QString> selectedTitle() const;
    std::optional<join::ComponentDescription> selected() const;
    // The settings stored for the chosen component; none: never edited, its defaults.
    std::optional<QByteArray> selectedSettings() const;
    // Whether the component with that title has settings to edit.
    bool hasSettingsForm(const QString& title) const;

    const join::SettingsDictionary& settings() const { return m_settings; }
    // One component's settings edited, or all of them replaced (a settings file loaded).
    void setSettings(const QString& title, const QByteArray& settings);
    void replaceSettings(join::SettingsDictionary settings);

    // The extension of joined files: the chosen component's when exporting
    // (a dot and letters, or the empty text), else ".mov"; none when
    // exporting and no component is chosen.
    std::optional<QString> extension() const;

private:
    void storeSettings();
    void build(const std::vector<media::ExportComponent>& offered) const;

    support::UserDefaults& m_defaults;
    // Built on first use (hence mutable) after load() without components.
    mutable std::optional<join::ComponentTable> m_components;
    mutable QString m_selected;
    join::SettingsDictionary m_settings;
};

} // namespace app
