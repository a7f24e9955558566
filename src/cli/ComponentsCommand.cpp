#include "cli/ComponentsCommand.h"

#include "app/JoinClipController.h"
#include "cli/ArgumentSettingsPanels.h"
#include "cli/HeadlessComponentControls.h"
#include "cli/HeadlessExportSettingsDialog.h"
#include "cli/HeadlessWindow.h"
#include "join/ComponentTable.h"
#include "platform/Preferences.h"

#include <QFile>
#include <ostream>

namespace cli {

namespace {

constexpr const char* kSettingsUsage =
    "usage: joinclip settings --component TITLE [--load FILE.qxst] [--set KEY=VALUE]... --save FILE.qxst\n"
    "       joinclip settings --load FILE.qxst --show\n"
    "keys: video-codec, video-bitrate, quality, size (WxH), frame-rate (N or N/D), audio-codec,\n"
    "      audio-bitrate, sample-rate, channels (joinclip components lists the titles)\n";

struct SettingsOptions final {
    std::optional<QString> component;
    std::vector<std::pair<std::string, std::string>> changes;
    std::optional<std::filesystem::path> save;
    std::optional<std::filesystem::path> load;
    bool show = false;
};

std::optional<SettingsOptions> parseSettingsOptions(const std::vector<std::string>& arguments,
                                                    std::ostream& err) {
    SettingsOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (argument == "--component" && hasValue) {
            options.component = QString::fromStdString(arguments[++i]);
        } else if (argument == "--set" && hasValue) {
            const std::string& change = arguments[++i];
            const std::size_t equals = change.find('=');
            if (equals == std::string::npos) {
                err << "joinclip settings: --set takes KEY=VALUE, not \"" << change << "\"\n";
                return std::nullopt;
            }
            options.changes.emplace_back(change.substr(0, equals), change.substr(equals + 1));
        } else if (argument == "--save" && hasValue) {
            options.save = std::filesystem::path(arguments[++i]);
        } else if (argument == "--load" && hasValue) {
            options.load = std::filesystem::path(arguments[++i]);
        } else if (argument == "--show") {
            options.show = true;
        } else {
            err << "joinclip settings: unknown option or missing value: " << argument << "\n"
                << kSettingsUsage;
            return std::nullopt;
        }
    }
    const bool showing =
        options.show && options.load && !options.save && !options.component && options.changes.empty();
    const bool saving = !options.show && options.save && options.component;
    if (!showing && !saving) {
        err << kSettingsUsage;
        return std::nullopt;
    }
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
    if (!arguments.empty()) {
        err << "usage: joinclip components\n";
        return 2;
    }
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
    const auto options = parseSettingsOptions(arguments, err);
    if (!options)
        return 2;
    if (options->show)
        return showSettingsFile(*options->load, out, err);

    // The preferences window's commands, with the stored settings of every
    // component: choose the component, edit its settings, save them all.
    platform::Preferences store(platform::Preferences::defaultFile());
    HeadlessWindow window(false, err);
    app::MainWindowOutlets outlets = window.outlets();
    HeadlessComponentControls controls(err);
    ArgumentSettingsPanels panels(options->save, options->load);
    HeadlessExportSettingsDialog dialog(options->changes, err);
    controls.attach(outlets.components);
    outlets.components.panels = &panels;
    outlets.components.settingsDialog = &dialog;
    app::JoinClipController controller(store, outlets);
    controller.launchExportComponents();
    if (!controls.select(controller, *options->component, "settings"))
        return 2;

    if (options->load) {
        if (!join::readSettingsFile(*options->load)) {
            err << "joinclip settings: " << options->load->string() << " is not a settings file\n";
            return 1;
        }
        controller.codecLoadSettingsClicked(); // replaces every component's settings, then edits this one's
    } else {
        controller.codecSettingsClicked();
    }
    if (dialog.failed())
        return 2; // the dialog refused a change and said why
    controller.codecSaveSettingsClicked();
    const auto written = join::readSettingsFile(*options->save);
    if (!written || !written->contains(*options->component))
        return 1;
    out << options->save->string() << "\n";
    return 0;
}

} // namespace cli
