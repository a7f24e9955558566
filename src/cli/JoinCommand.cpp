#include "cli/JoinCommand.h"

#include "cli/HeadlessComponentControls.h"
#include "cli/HeadlessWindow.h"
#include "platform/FileReference.h"
#include "platform/Preferences.h"

#include <cmath>
#include <ostream>
#include <system_error>

namespace cli {

namespace {

constexpr const char* kUsage = "usage: joinclip join [-o PATH | --output-dir DIR] [--title TEXT]... "
                               "[--chapters|--no-chapters] [--reference] [--duration SECONDS] [--sort] "
                               "[--component TITLE [--settings FILE.qxst]] FILE...\n";

bool isFolder(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

// A number of seconds as a person types it: finite and not negative.
std::optional<double> parseSeconds(const std::string& text) {
    bool ok = false;
    const double seconds = QString::fromStdString(text).trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(seconds) || seconds < 0)
        return std::nullopt;
    return seconds;
}

struct JoinOptions final {
    std::filesystem::path output;
    std::optional<std::filesystem::path> outputFolder;
    std::vector<QString> titles;
    std::optional<bool> chapters;
    bool reference = false;
    std::optional<double> duration;
    bool sort = false;
    std::optional<QString> component;
    std::optional<std::filesystem::path> settingsFile;
    std::vector<std::filesystem::path> files;
};

std::optional<JoinOptions> parseOptions(const std::vector<std::string>& arguments, std::ostream& err) {
    JoinOptions options;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (optionsEnded || !argument.starts_with("-") || argument == "-") {
            options.files.emplace_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if ((argument == "-o" || argument == "--output") && hasValue) {
            options.output = arguments[++i];
        } else if (argument == "--output-dir" && hasValue) {
            options.outputFolder = std::filesystem::path(arguments[++i]);
        } else if (argument == "--title" && hasValue) {
            options.titles.push_back(QString::fromStdString(arguments[++i]));
        } else if (argument == "--chapters" || argument == "--no-chapters") {
            options.chapters = argument == "--chapters";
        } else if (argument == "--duration" && hasValue) {
            options.duration = parseSeconds(arguments[++i]);
            if (!options.duration) {
                err << "joinclip join: --duration takes a number of seconds, not \"" << arguments[i] << "\"\n";
                return std::nullopt;
            }
        } else if (argument == "--reference") {
            options.reference = true;
        } else if (argument == "--sort") {
            options.sort = true;
        } else if (argument == "--component" && hasValue) {
            options.component = QString::fromStdString(arguments[++i]);
        } else if (argument == "--settings" && hasValue) {
            options.settingsFile = std::filesystem::path(arguments[++i]);
        } else {
            err << "joinclip join: unknown option or missing value: " << argument << "\n" << kUsage;
            return std::nullopt;
        }
    }
    if (options.files.empty() || (options.settingsFile && !options.component)) {
        err << kUsage;
        return std::nullopt;
    }
    return options;
}

} // namespace

int runJoinCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    const auto options = parseOptions(arguments, err);
    if (!options)
        return 2;
    if (options->outputFolder && !isFolder(*options->outputFolder)) {
        err << "joinclip join: not a folder: " << options->outputFolder->string() << "\n";
        return 2;
    }

    platform::Preferences store(platform::Preferences::defaultFile());
    HeadlessWindow window(true, err);
    app::MainWindowOutlets outlets = window.outlets();
    HeadlessComponentControls components(err);
    components.attach(outlets.components);
    app::JoinClipController controller(store, outlets);
    support::UserDefaults& defaults = controller.defaults();
    filelist::FileList& list = controller.fileList();

    // The export components as the application has them: with "Export" on, the
    // stored component and its settings are used; --component chooses one for this run.
    controller.launchExportComponents();
    if (options->component &&
        !components.exportThrough(controller, *options->component, options->settingsFile, "join"))
        return 2;

    // What the options say holds for this run only; the stored preferences stay as they are.
    if (options->outputFolder)
        controller.setOutputFolderForThisRun(*options->outputFolder);
    if (options->chapters)
        defaults.setOverride(support::Pref::Chapterize, *options->chapters);
    if (options->reference)
        defaults.setOverride(support::Pref::Flatten, false);
    if (options->duration)
        defaults.setOverride(support::Pref::DesiredDuration, *options->duration);
    // -o answers the save panel; without it the default name in the output folder is used.
    defaults.setOverride(support::Pref::PromptForFilename, !options->output.empty());
    if (!options->output.empty())
        window.savePanel().setAnswer(options->output);

    const double desiredDuration = defaults.floatValue(support::Pref::DesiredDuration);

    if (options->sort) {
        list.joinClips(options->files);
    } else {
        for (const auto& file : options->files) {
            if (const QByteArray reference = platform::getAlias(file); !reference.isEmpty())
                list.joinClip(reference, list.count(), std::nullopt);
            controller.makeDefaultFilename(file, false);
        }
    }
    if (list.count() != static_cast<int>(options->files.size())) {
        err << "joinclip join: " << options->files.size() - static_cast<std::size_t>(list.count())
            << " of the files could not be opened as movies\n";
        return 1;
    }
    for (std::size_t i = 0; i < options->titles.size() && i < static_cast<std::size_t>(list.count()); ++i)
        list.setTitle(static_cast<int>(i), options->titles[i]);

    // Ctrl-C during the write is the progress sheet's Cancel.
    window.eventPump().setCancelAction([&controller] { controller.cancelOp(); });
    const app::JoinOutcome outcome = [&] {
        const InterruptGuard interrupts;
        return controller.addButtonClicked();
    }();
    switch (outcome.status) {
    case app::JoinOutcome::Status::Written:
        break;
    case app::JoinOutcome::Status::NotSaved:
        if (options->output.empty() && !controller.outputFolderPath()) {
            err << "joinclip join: no output folder is set: give -o PATH or --output-dir DIR, or set one with "
                   "joinclip prefs\n";
            return 2;
        }
        return 1; // the alert said why
    case app::JoinOutcome::Status::WriteCancelled:
        err << "joinclip join: cancelled; nothing was written\n";
        return 1;
    case app::JoinOutcome::Status::NothingToJoin:
    case app::JoinOutcome::Status::NoComponent:
    case app::JoinOutcome::Status::WriteFailed:
        return 1; // the alert said why
    }
    out << outcome.path.string() << "\n";
    if (outcome.scaled == false) {
        err << "joinclip join: the movie was written but could not be scaled to " << desiredDuration
            << " seconds\n";
        return 1;
    }
    return 0;
}

} // namespace cli
