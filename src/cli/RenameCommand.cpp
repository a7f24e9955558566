#include "cli/RenameCommand.h"
#include "filelist/ListRenaming.h"

#include "cli/AddPaths.h"
#include "cli/CommandLine.h"
#include "app/RenameReport.h"
#include "cli/CommandList.h"
#include "cli/ListCommand.h"
#include "cli/ListOrderingOptions.h"

#include <ostream>

namespace cli {

int runRenameCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    CommandLine options("rename",
                        "Renames the listed files so that their names carry the list order, or back: "
                        "prints each old and new path, separated by a tab. A file is never renamed over "
                        "another one.");
    options.addFlag({"number"}, "Puts the list position and a blank in front of every name (000001 a.mov).");
    options.addFlag({"unnumber"}, "Removes everything up to and including the first blank from every name.");
    ListOrderingOptions ordering;
    ordering.addTo(options);
    options.addPositional("PATH", "Files and folders to list, in list order.", "PATH...");
    if (const auto status = options.parse(arguments, out, err))
        return *status;
    if (options.isSet("number") == options.isSet("unnumber"))
        return options.usageError("give either --number or --unnumber", err);
    const std::vector<std::filesystem::path> paths = options.positionalPaths();
    if (paths.empty())
        return options.usageError("no path given", err);
    if (!ordering.read(options, err))
        return 2;

    CommandList session(err, false);
    filelist::FileList& list = session.list();
    int status = addPaths(list, paths, false, err) > 0 ? 1 : 0;
    ordering.apply(list);
    const filelist::RenameOutcome outcome =
        options.isSet("number") ? filelist::renameFilesInSequence(list) : filelist::removeFilenamePrefixes(list);
    // Refusals are told on err, one line each with its reason.
    session.console().status(app::reportRenames(outcome, session.console()));
    for (const filelist::RenameOutcome::Rename& rename : outcome.renamed)
        out << escapeTableCell(rename.from.native()) << '\t' << escapeTableCell(rename.to.native()) << '\n';
    if (!outcome.refused.empty())
        status = 1;
    return status;
}

} // namespace cli
