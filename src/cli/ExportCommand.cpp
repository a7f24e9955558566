#include "cli/ExportCommand.h"

#include "app/CommandRequests.h"
#include "app/OutputFormat.h"
#include "cli/AddPaths.h"
#include "cli/CommandLine.h"
#include "cli/CommandList.h"
#include "cli/ComponentChoice.h"
#include "platform/FolderPreferences.h"

#include <ostream>

namespace cli {

int runExportCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    CommandLine options("export",
                        "Converts each file on its own through the export component into the output "
                        "folder: clip.avi exported as MPEG-4 becomes clip.avi.mp4. A file is never "
                        "written over: a name that is taken gets \" (exported)\" before the extension.");
    options.addValue({"component"}, "TITLE", "The export component (joinclip components lists them).");
    options.addValue({"settings"}, "FILE.qxst", "The export settings file to use.");
    options.addValue({"output-dir"}, "DIR", "Writes into DIR (else the OutputDirectory preference).");
    options.addFlag({"preserve-dates"}, "Gives each exported file its source's modification date.");
    options.addPositional("FILE", "The files to export.", "FILE...");
    if (const auto status = options.parse(arguments, out, err))
        return *status;
    const std::vector<std::filesystem::path> files = options.positionalPaths();
    if (files.empty())
        return options.usageError("no file given", err);
    if (!options.isSet("component"))
        return options.usageError("--component TITLE is needed", err);

    CommandList session(err, true);
    platform::Preferences& store = session.preferences().store();
    support::UserDefaults& defaults = session.defaults();
    app::OutputFormat format(defaults);
    format.load();
    if (!exportThrough(format, defaults, options.text("component"), options.path("settings"), "export", err))
        return 2;
    if (options.isSet("preserve-dates"))
        defaults.setOverride(support::Pref::PreserveDates, true);

    const auto folder =
        options.isSet("output-dir") ? options.path("output-dir") : platform::CopyOutputFolderPath(store);
    if (!folder || !isFolder(*folder)) {
        err << "joinclip export: "
            << (folder ? folder->string() + " is not a folder" : "no output folder is set")
            << ": give --output-dir DIR, or set one with joinclip prefs set OutputDirectory DIR\n";
        return 2;
    }

    filelist::FileList& list = session.list();
    const int unusable = addPaths(list, files, false, err);
    join::ExportJob job(app::makeExportRequest(list, format, defaults, *folder));
    CommandConsole& console = session.console();
    (void)console.run(job, app::writeTitle(format)); // what failed is in the outcome
    for (const QString& note : job.outcome().notes)
        console.writeLine(note);
    if (const auto summary = app::exportSummary(job))
        console.status(*summary);
    // A file that could not be written is told, never passed over; a cancel is no failure.
    const QStringList& failedNames = job.outcome().failed;
    if (!failedNames.isEmpty())
        console.alert("%d of the files could not be exported.", "%@", {QString::number(failedNames.size())},
                      {failedNames.join(", ")});
    const std::vector<std::filesystem::path>& written = job.outcome().written;
    for (const auto& file : written)
        out << file.string() << "\n";
    // Files that never reached the list, and listed ones that were not written.
    const std::size_t failed =
        static_cast<std::size_t>(unusable) + static_cast<std::size_t>(list.count()) - written.size();
    if (failed > 0) {
        err << "joinclip export: " << failed << " of the files could not be exported\n";
        return 1;
    }
    return 0;
}

} // namespace cli
