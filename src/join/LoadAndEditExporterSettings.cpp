#include "join/LoadAndEditExporterSettings.h"

#include <cerrno>

namespace join {

std::optional<QByteArray> loadAndEditExporterSettings(const ComponentDescription& description,
                                                      const std::optional<QByteArray>& settings,
                                                      bool showDialog, ExportSettingsDialog* dialog,
                                                      support::Console& console) {
    Exporter* exporter = description.exporter.get();
    if (!exporter)
        return std::nullopt;
    if (settings)
        if (auto loaded = exporter->loadSettings(*settings); !loaded)
            console.writeLine("JoinClip error: " + QString::fromStdString(loaded.error().message) + " (" +
                              description.name + "); the export component keeps its settings");
    if (showDialog) {
        auto answer = dialog ? dialog->run(exporter->component(), exporter->settings())
                             : std::expected<std::optional<media::ExportSettings>, media::Error>(
                                   std::unexpected(media::Error{ENOTSUP, "no settings dialog"}));
        if (!answer) {
            console.writeLine(QString("JoinClip error: %1 when calling MovieExportDoUserDialog")
                                  .arg(answer.error().code));
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
