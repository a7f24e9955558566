#include "cli/ComponentsCommand.h"

#include "app/OutputFormat.h"
#include "cli/CommandConsole.h"
#include "cli/CommandLine.h"
#include "cli/ComponentChoice.h"
#include "cli/OpenedPreferences.h"
#include "join/ComponentTable.h"
#include "join/LoadAndEditExporterSettings.h"
#include "join/SettingsFile.h"
#include "platform/Preferences.h"
#include "support/UserDefaults.h"

#include <QFile>
#include <expected>
#include <ostream>

namespace cli {

namespace {

struct SettingsOptions final {
    std::optional<QString> component;
    std::vector<std::pair<std::string, std::string>> changes;
    std::optional<std::filesystem::path> save;
    std::optional<std::filesystem::path> load;
    bool show = false;
};

// The options, or the exit status when the command ends here (help or a usage error).
std::expected<SettingsOptions, int> parseSettingsOptions(const std::vector<std::string>& arguments,
                                                         std::ostream& out, std::ostream& err) {
    CommandLine line("settings",
                     "Makes, edits or shows an export settings file (.qxst):\n"
                     "  joinclip settings --component TITLE [--load FILE.qxst] [--set KEY=VALUE]... "
                     "--save FILE.qxst\n  joinclip settings --load FILE.qxst --show");
    line.addValue({"component"}, "TITLE", "The export component whose settings are made or edited.");
    line.addValue(
        {"set"}, "KEY=VALUE",
        "Changes one setting; may be repeated. Keys: video-codec, video-bitrate, quality, size (WxH), "
        "frame-rate (N or N/D), audio-codec, audio-bitrate, sample-rate, channels.",
        CommandLine::Times::Repeatable);
    line.addValue({"save"}, "FILE.qxst", "Writes the settings file.");
    line.addValue({"load"}, "FILE.qxst", "Starts from the settings in this file.");
    line.addFlag({"show"}, "Prints what the file of --load holds.");
    if (const auto status = line.parse(arguments, out, err))
        return std::unexpected(*status);
    SettingsOptions options;
    if (line.isSet("component"))
        options.component = line.text("component");
    for (const std::string& change : line.allBytes("set")) {
        const std::size_t equals = change.find('=');
        if (equals == std::string::npos)
            return std::unexpected(line.usageError("--set takes KEY=VALUE, not \"" + change + "\"", err));
        options.changes.emplace_back(change.substr(0, equals), change.substr(equals + 1));
    }
    options.save = line.path("save");
    options.load = line.path("load");
    options.show = line.isSet("show");
    const bool showing =
        options.show && options.load && !options.save && !options.component && options.changes.empty();
    const bool saving = !options.show && options.save && options.component;
    if (!line.positionalBytes().empty() || (!showing && !saving))
        return std::unexpected(
            line.usageError("give --component TITLE ... --save FILE, or --load FILE --show", err));
    return options;
}

int showSettingsFile(const std::filesystem::path& file, std::ostream& out, std::ostream& err) {
    const auto settings = join::readSettingsFile(file);
    if (!settings) {
        err << "joinclip settings: " << file.string() << " is not a settings file\n";
        return 1;
    }
    join::ComponentTable table;
    join::BuildComponentTable(table);
    for (auto entry = settings->cbegin(); entry != settings->cend(); ++entry) {
        out << entry.key().toStdString() << (table.contains(entry.key()) ? "" : "  (no such component here)")
            << "\n";
        const auto decoded = media::decodeExportSettings(entry.value());
        if (!decoded) {
            out << "\t(" << decoded.error().message << ")\n";
            continue;
        }
        for (const auto& [key, value] : media::exportSettingsFields(*decoded))
            out << "\t" << key << "=" << value << "\n";
    }
    return 0;
}

} // namespace

int runComponentsCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    CommandLine options("components", "Lists the export components this build can write, one per line: the "
                                      "title, the extension and the information, separated by tabs.");
    if (const auto status = options.parse(arguments, out, err))
        return *status;
    if (!options.positionalBytes().empty())
        return options.usageError("takes no arguments", err);
    join::ComponentTable table;
    join::BuildComponentTable(table);
    for (const QString& title : table.titles()) {
        const join::ComponentDescription& description = *table.find(title);
        out << title.toStdString() << "\t" << description.extension.toStdString() << "\t"
            << description.info.toStdString() << "\n";
    }
    return 0;
}

int runSettingsCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    const auto options = parseSettingsOptions(arguments, out, err);
    if (!options)
        return options.error();
    if (options->show)
        return showSettingsFile(*options->load, out, err);

    // What the preferences window's settings commands do, with the stored
    // settings of every component: choose the component, load a settings
    // file, edit its settings, save them all.
    OpenedPreferences preferences(err);
    support::UserDefaults defaults(preferences.store());
    CommandConsole console(err, false);
    app::OutputFormat format(defaults);
    format.load();
    if (!chooseComponent(format, *options->component, "settings", err))
        return 2;
    if (options->load) {
        auto loaded = join::readSettingsFile(*options->load);
        if (!loaded) {
            err << "joinclip settings: " << options->load->string() << " is not a settings file\n";
            return 1;
        }
        format.replaceSettings(std::move(*loaded)); // every component's settings
    }

    // The chosen component's settings as they stand, with each change applied in order.
    const join::ComponentDescription component = *format.selected();
    (void)join::loadAndEditExporterSettings(component, format.selectedSettings(), false, nullptr, console);
    if (join::Exporter* exporter = component.exporter.get()) {
        media::ExportSettings edited = exporter->settings();
        for (const auto& [key, value] : options->changes) {
            if (auto set = media::setExportSetting(exporter->component(), edited, key, value); !set) {
                err << "joinclip: " << set.error().message << "\n";
                return 2;
            }
        }
        exporter->setSettings(edited);
        format.setSettings(*format.selectedTitle(), exporter->settingsBytes());
    }
    const bool saved = join::writeSettingsFile(*options->save, format.settings());
    console.alert(saved ? "All export settings were saved to: %@" : "All export settings could not be saved to: %@",
                  " ", {QFile::decodeName(options->save->c_str())});
    const auto written = join::readSettingsFile(*options->save);
    if (!written || !written->contains(*options->component))
        return 1;
    out << options->save->string() << "\n";
    return 0;
}

} // namespace cli
