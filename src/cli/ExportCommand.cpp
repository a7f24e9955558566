#include "cli/ExportCommand.h"

#include "app/JoinClipController.h"
#include "cli/HeadlessComponentControls.h"
#include "cli/HeadlessWindow.h"
#include "platform/FileReference.h"
#include "platform/FolderPreferences.h"
#include "platform/Preferences.h"

#include <ostream>

namespace cli {

namespace {

constexpr const char* kUsage =
    "usage: joinclip export --component TITLE [--settings FILE.qxst] [--output-dir DIR] "
    "[--preserve-dates] FILE...\n";

struct ExportOptions final {
    QString component;
    std::optional<std::filesystem::path> settingsFile;
    std::optional<std::filesystem::path> outputFolder;
    bool preserveDates = false;
    std::vector<std::filesystem::path> files;
};

std::optional<ExportOptions> parseOptions(const std::vector<std::string>& arguments, std::ostream& err) {
    ExportOptions options;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (optionsEnded || !argument.starts_with("-") || argument == "-") {
            options.files.emplace_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--component" && hasValue) {
            options.component = QString::fromStdString(arguments[++i]);
        } else if (argument == "--settings" && hasValue) {
            options.settingsFile = std::filesystem::path(arguments[++i]);
        } else if (argument == "--output-dir" && hasValue) {
            options.outputFolder = std::filesystem::path(arguments[++i]);
        } else if (argument == "--preserve-dates") {
            options.preserveDates = true;
        } else {
            err << "joinclip export: unknown option or missing value: " << argument << "\n" << kUsage;
            return std::nullopt;
        }
    }
    if (options.files.empty() || options.component.isEmpty()) {
        err << kUsage;
        return std::nullopt;
    }
    return options;
}

} // namespace

int runExportCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    const auto options = parseOptions(arguments, err);
    if (!options)
        return 2;

    platform::Preferences store(platform::Preferences::defaultFile());
    HeadlessWindow window(true, err);
    app::MainWindowOutlets outlets = window.outlets();
    HeadlessComponentControls controls(err);
    controls.attach(outlets.components);
    app::JoinClipController controller(store, outlets);
    controller.launchExportComponents();
    if (!controls.exportThrough(controller, options->component, options->settingsFile, "export"))
        return 2;
    if (options->preserveDates)
        controller.defaults().setOverride(support::Pref::PreserveDates, true);

    const auto folder = options->outputFolder ? options->outputFolder : platform::CopyOutputFolderPath(store);
    std::error_code error;
    if (!folder || !std::filesystem::is_directory(*folder, error)) {
        err << "joinclip export: "
            << (folder ? folder->string() + " is not a folder" : "no output folder is set")
            << ": give --output-dir DIR, or set one with joinclip prefs\n";
        return 2;
    }

    filelist::FileList& list = controller.fileList();
    for (const auto& file : options->files)
        if (const QByteArray reference = platform::getAlias(file); !reference.isEmpty())
            list.joinClip(reference, list.count(), std::nullopt);
    // Ctrl-C during a write is the progress sheet's Cancel.
    window.eventPump().setCancelAction([&controller] { controller.cancelOp(); });
    const auto written = [&] {
        const InterruptGuard interrupts;
        return controller.exportMoviesToFolder(*folder);
    }();
    for (const auto& file : written)
        out << file.string() << "\n";
    if (written.size() != options->files.size()) {
        err << "joinclip export: " << options->files.size() - written.size()
            << " of the files could not be exported\n";
        return 1;
    }
    return 0;
}

} // namespace cli
