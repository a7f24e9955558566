#include "app/ExportSettingsCommands.h"

#include "app/OutputFormat.h"
#include "join/LoadAndEditExporterSettings.h"

#include <QFile>

namespace app {

namespace {

// The file type of settings files.
const QString kSettingsFileType = QStringLiteral("qxst");

} // namespace

ExportSettingsCommands::ExportSettingsCommands(OutputFormat& format, support::Console& console, QObject* parent)
    : QObject(parent), m_format(format), m_console(console) {}

void ExportSettingsCommands::edit(join::ExportSettingsDialog& dialog) {
    const std::optional<QString> title = m_format.selectedTitle();
    if (!title)
        return;
    if (const auto settings = join::loadAndEditExporterSettings(*m_format.selected(), m_format.selectedSettings(),
                                                                true, &dialog, m_console))
        m_format.setSettings(*title, *settings);
}

void ExportSettingsCommands::save(const AskSettingsFile& askWhere) {
    const std::optional<QString> title = m_format.selectedTitle();
    if (!title)
        return;
    const auto file = askWhere(kSettingsFileType, QStringLiteral("Settings"));
    if (!file)
        return;
    // Settings never edited are saved as the component's current ones.
    if (!m_format.selectedSettings())
        if (const auto settings =
                join::loadAndEditExporterSettings(*m_format.selected(), std::nullopt, false, nullptr, m_console))
            m_format.setSettings(*title, *settings);
    const QStringList name{QFile::decodeName(file->c_str())};
    if (join::writeSettingsFile(*file, m_format.settings()))
        emit noticed({support::Told::Information, "All export settings were saved to: %@", " ", name});
    else
        emit noticed({support::Told::Failure, "All export settings could not be saved to: %@", " ", name});
}

void ExportSettingsCommands::load(const AskSettingsFile& askWhich, join::ExportSettingsDialog& dialog) {
    const auto file = askWhich(kSettingsFileType, QString());
    if (!file)
        return;
    auto loaded = join::readSettingsFile(*file);
    if (!loaded) { // told, never passed over: every setting stays as it was
        emit noticed({support::Told::Failure, "The export settings could not be loaded from: %@", " ",
                      {QFile::decodeName(file->c_str())}});
        return;
    }
    m_format.replaceSettings(std::move(*loaded));
    edit(dialog);
}

} // namespace app
