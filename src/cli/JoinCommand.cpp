#include "cli/JoinCommand.h"
#include "filelist/ListEdits.h"

#include "cli/AddPaths.h"
#include "cli/CommandLine.h"
#include "cli/DurationArgument.h"
#include "cli/ComponentChoice.h"
#include "cli/CommandList.h"
#include "cli/ListDurations.h"
#include "app/CommandRequests.h"
#include "app/OutputFormat.h"
#include "join/OutputNaming.h"
#include "join/ReservedName.h"
#include "platform/FileNames.h"
#include "platform/FolderPreferences.h"
#include "support/LocalizedString.h"

#include <cerrno>
#include <ostream>
#include <system_error>

namespace cli {

namespace {

void describeOptions(CommandLine& options) {
    options.addValue({"o", "output"}, "PATH",
                     "Writes the movie to PATH (\".mov\" added when it has no extension).");
    options.addValue({"output-dir"}, "DIR",
                     "Writes the movie under its default name in DIR (else the OutputDirectory preference).");
    options.addValue({"title"}, "TEXT", "The chapter title of the next file, in order; may be repeated.",
                     CommandLine::Times::Repeatable);
    options.addFlag({"chapters"}, "Adds a chapter track (the Chapterize preference, for this run).");
    options.addFlag({"no-chapters"}, "Adds no chapter track.");
    options.addFlag({"reference"}, "Writes a movie that refers to its sources.");
    options.addValue({"duration"}, "DURATION",
                     "Scales the joined movie to DURATION: seconds or a time such as 1:30 (0: no scaling).");
    options.addFlag({"sort"}, "Adds the files as one batch, as the browse panel does.");
    options.addValue({"component"}, "TITLE", "Exports the joined movie through this export component.");
    options.addValue({"settings"}, "FILE.qxst", "The export settings file for --component.");
    options.addPositional("FILE", "The movie, picture and sound files (or folders) to join, in order.",
                          "FILE...");
}

} // namespace

int runJoinCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    CommandLine options("join",
                        "Joins the files into one movie, losslessly when they allow it, with chapters.");
    describeOptions(options);
    if (const auto status = options.parse(arguments, out, err))
        return *status;
    const std::vector<std::filesystem::path> files = options.positionalPaths();
    if (files.empty())
        return options.usageError("no file given", err);
    if (options.isSet("settings") && !options.isSet("component"))
        return options.usageError("--settings needs --component", err);
    if (options.isSet("chapters") && options.isSet("no-chapters"))
        return options.usageError("--chapters and --no-chapters exclude each other", err);
    const auto output = options.path("output");
    const auto outputFolder = options.path("output-dir");
    if (outputFolder && !isFolder(*outputFolder)) {
        err << "joinclip join: not a folder: " << outputFolder->string() << "\n";
        return 2;
    }
    const auto durationGiven = durationOption(options, "duration", err);
    if (!durationGiven)
        return durationGiven.error();
    const std::optional<double> duration = *durationGiven;

    CommandList session(err, true);
    support::UserDefaults& defaults = session.defaults();
    filelist::FileList& list = session.list();
    CommandConsole& console = session.console();

    // The export components as the application has them: with "Export" on, the
    // stored component and its settings are used; --component chooses one for this run.
    app::OutputFormat format(defaults);
    format.load();
    if (options.isSet("component") &&
        !exportThrough(format, defaults, options.text("component"), options.path("settings"), "join", err))
        return 2;

    // What the options say holds for this run only; the stored preferences stay as they are.
    const std::optional<std::filesystem::path> folder =
        outputFolder ? outputFolder : platform::CopyOutputFolderPath(session.preferences().store());
    if (options.isSet("chapters") || options.isSet("no-chapters"))
        defaults.setOverride(support::Pref::Chapterize, options.isSet("chapters"));
    if (options.isSet("reference"))
        defaults.setOverride(support::Pref::Flatten, false);
    if (duration)
        defaults.setOverride(support::Pref::DesiredDuration, *duration);

    const int unusable = addPaths(list, files, options.isSet("sort"), err);
    if (unusable > 0) {
        err << "joinclip join: " << unusable << (unusable == 1 ? " file was" : " files were")
            << " not added (see above); nothing was written\n";
        return 1;
    }
    const std::vector<QString> titles = options.allTexts("title");
    for (std::size_t i = 0; i < titles.size() && i < static_cast<std::size_t>(list.count()); ++i)
        filelist::setTitle(list, static_cast<int>(i), titles[i]);

    // The duration asked for must be reachable before anything is written.
    const double desiredDuration = defaults.floatValue(support::Pref::DesiredDuration);
    if (desiredDuration > 0) {
        const ListDurations durations = listDurations(list);
        if (const auto reachable = checkReachable(durations.durations, durations.timeScale, desiredDuration);
            !reachable) {
            err << "joinclip join: the movie cannot be scaled to " << desiredDuration
                << " seconds: " << reachable.error() << "; nothing was written\n";
            return 2;
        }
    }

    if (list.count() == 0) {
        console.alert(app::noMoviesRefusal().message, app::noMoviesRefusal().informative);
        return 1;
    }
    // Exporting without a component would write a file of no known format.
    if (format.isExporting() && !format.selected()) {
        console.alert(app::noComponentRefusal().message, app::noComponentRefusal().informative);
        return 1;
    }
    // The extension of this join: the component's, else ".mov".
    const QString extension = format.extension().value_or(QString(".mov"));

    // -o names the movie; without it the default name in the output folder is
    // made ours before the write, and goes again if nothing is written.
    std::optional<std::filesystem::path> path = output;
    const bool byDefaultName = !path && format.extension();
    if (byDefaultName)
        path = join::defaultFilename(folder, session.list().defaultBaseName(), extension);
    std::optional<join::ReservedName> reserved =
        byDefaultName && path ? join::reserveDefaultFilename(folder, session.list().defaultBaseName(), extension)
                              : std::nullopt;
    if (reserved)
        path = reserved->path();
    if (!path) {
        if (!folder) {
            err << "joinclip join: no output folder is set: give -o PATH or --output-dir DIR, or set one "
                   "with "
                   "joinclip prefs set OutputDirectory DIR\n";
            return 2;
        }
        return 1;
    }

    auto request = app::makeJoinRequest(list, format, defaults, *path);
    if (!request) {
        console.alert(request.error().message, request.error().informative);
        return 1;
    }
    join::JoinJob job(std::move(*request));
    const auto written = console.run(job, app::writeTitle(format));
    for (const QString& note : job.outcome().notes)
        console.writeLine(note);
    if (!written) {
        if (written.error().code == ECANCELED) {
            // Cancelled as the job ended: what the user stopped leaves nothing either.
            if (job.outcome().complete) {
                std::error_code ignored;
                std::filesystem::remove(*path, ignored);
            }
            console.status(support::LocalizedString("The join was cancelled; nothing was written."));
            err << "joinclip join: cancelled; nothing was written\n";
            return 1;
        }
        // A failed write is told once, with its reason: nothing was written.
        console.alert("The movie could not be saved.", "%@", {}, {QString::fromStdString(written.error().message)});
        return 1;
    }
    std::filesystem::path result = *path;
    if (auto renamed = platform::AddNameExtensionIfMissing(result, extension))
        result = std::move(*renamed);
    reserved.reset(); // the finished movie took its place
    if (job.outcome().scaled == false) {
        // The unscaled movie is not what was asked for: it goes, and nothing is reported written.
        std::error_code error;
        std::filesystem::remove(result, error);
        err << "joinclip join: the movie could not be scaled to " << desiredDuration
            << " seconds; nothing was written\n";
        return 1;
    }
    std::error_code error;
    if (defaults.boolValue(support::Pref::OpenFile) && std::filesystem::exists(result, error))
        err << "Not opening " << result.string() << ": there is no desktop to open it in from the command line\n";
    out << result.string() << "\n";
    return 0;
}

} // namespace cli
