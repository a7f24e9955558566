#include "join/ExporterSettings.h"

#include <cerrno>

namespace join {

std::optional<QByteArray> ExporterSettings(const ComponentDescription& description,
                                           const std::optional<QByteArray>& settings, bool showDialog,
                                           ExportSettingsDialog* dialog, std::ostream& console) {
    Exporter* exporter = description.exporter.get();
    if (!exporter)
        return std::nullopt;
    if (settings)
        if (auto loaded = exporter->loadSettings(*settings); !loaded)
            console << "JoinClip error: " << loaded.error().message << " (" << description.name.toStdString()
                    << "); the export component keeps its settings\n";
    if (showDialog) {
        auto answer = dialog ? dialog->run(exporter->component(), exporter->settings())
                             : std::expected<std::optional<media::ExportSettings>, media::Error>(
                                   std::unexpected(media::Error{ENOTSUP, "no settings dialog"}));
        if (!answer) {
            console << "JoinClip error: " << answer.error().code << " when calling MovieExportDoUserDialog\n";
            return std::nullopt;
        }
        if (!*answer)
            return std::nullopt;
        exporter->setSettings(**answer);
    }
    return exporter->settingsBytes();
}

bool ComponentHasUserInterface(media::FourCharCode type, const Exporter* instance) {
    if (type != media::kExportComponentType || !instance)
        return false;
    return instance->component().hasSettingsDialog;
}

} // namespace join
