#include "cli/ListCommand.h"
#include "filelist/ListSaving.h"

#include "cli/AddPaths.h"
#include "cli/CommandLine.h"
#include "cli/DurationArgument.h"
#include "app/ListImportExport.h"
#include "cli/CommandList.h"
#include "cli/ListDurations.h"
#include "cli/ListOrderingOptions.h"
#include "filelist/TableCells.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <ostream>

namespace cli {

namespace {

// The columns the command prints, in the table's order (the icon is an image).
constexpr const char* kPrintedColumns[] = {"Index",         "Filename",     "Title", "Duration",
                                           "Date Modified", "Date Created", "Size",  "EXIF Date Time"};

} // namespace

std::string escapeTableCell(const QString& text) {
    return escapeTableCell(std::string_view(text.toStdString()));
}

std::string escapeTableCell(std::string_view bytes) {
    std::string escaped;
    for (const char byte : bytes) {
        switch (byte) {
        case '\\':
            escaped += "\\\\";
            break;
        case '\t':
            escaped += "\\t";
            break;
        case '\n':
            escaped += "\\n";
            break;
        case '\r':
            escaped += "\\r";
            break;
        default:
            escaped += byte;
        }
    }
    return escaped;
}

int runListCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    CommandLine options("list",
                        "Builds the file list as the application does and prints it as the file table "
                        "shows it, one tab-separated line per entry, then the total-duration line. In the "
                        "cells a backslash, tab, newline and carriage return are written \\\\, \\t, \\n "
                        "and \\r.");
    options.addFlag({"sort"}, "Adds the paths as one batch, as the browse panel does.");
    options.addValue({"desired-duration"}, "DURATION", "Scales the total to DURATION for this run only.");
    options.addFlag({"restore"}, "Restores the list saved by --save first.");
    options.addFlag({"save"}, "Saves the list for --restore (following the RememberFileList preference).");
    ListOrderingOptions ordering;
    ordering.addTo(options);
    options.addValue(
        {"import"}, "FILE.txt",
        "Adds the paths of a file list (one per line, UTF-8) first, as the window's Import does.");
    options.addValue(
        {"export"}, "FILE.txt",
        "Writes the paths of the list, in its order, to a file list, as the window's Export does.");
    options.addFlag({"v", "verbose"}, "Shows the status line on standard error.");
    options.addFlag({"json"}, "Prints one JSON object: the entries, each with the columns, and the total.");
    options.addPositional("PATH", "Files and folders to add.", "PATH...");
    if (const auto status = options.parse(arguments, out, err))
        return *status;
    const std::vector<std::filesystem::path> paths = options.positionalPaths();
    if (paths.empty() && !options.isSet("restore") && !options.isSet("import"))
        return options.usageError("no path given", err);
    if (!ordering.read(options, err))
        return 2;
    const auto durationGiven = durationOption(options, "desired-duration", err);
    if (!durationGiven)
        return durationGiven.error();
    const std::optional<double> desiredDuration = *durationGiven;

    CommandList session(err, options.isSet("verbose"));
    filelist::FileList& list = session.list();
    support::UserDefaults& defaults = session.defaults();
    CommandConsole& console = session.console();
    const support::Tell tell = [&console](const support::Notice& notice) {
        console.alert(notice.message, notice.informative, notice.messageArguments, notice.informativeArguments);
    };
    if (options.isSet("restore")) {
        // As the application starts: the list saved when "RememberFileList" is on.
        (void)session.preferences().store().synchronize(); // a failed write stays pending
        if (defaults.boolValue(support::Pref::RememberFileList))
            filelist::restoreList(list, defaults);
    }

    int status = 0;
    if (const auto file = options.path("import"); file && !app::importFileList(list, *file, tell, console))
        status = 1;
    if (addPaths(list, paths, options.isSet("sort"), err) > 0)
        status = 1;
    ordering.apply(list);
    if (const auto file = options.path("export")) {
        if (list.count() == 0) {
            console.alert("There are no file paths to export.", "Add files to the file list and try again");
            status = 1;
        } else if (!app::exportFileList(list, *file, tell, console)) {
            status = 1;
        }
    }
    if (desiredDuration) {
        const ListDurations durations = listDurations(list);
        if (const auto reachable = checkReachable(durations.durations, durations.timeScale, *desiredDuration);
            !reachable) {
            err << "joinclip list: the total cannot be scaled to " << options.bytes("desired-duration")
                << ": " << reachable.error() << "\n";
            return 2;
        }
        defaults.setOverride(support::Pref::DesiredDuration, *desiredDuration);
    }
    list.updateTotalDuration();

    const bool fullPath = defaults.boolValue(support::Pref::DisplayFullPath);
    const auto cell = [&](const char* column, int row) {
        return filelist::objectValueForTableColumn(list, column, row, fullPath).toString();
    };
    const std::optional<QString>& total = list.totalDuration();
    if (options.isSet("json")) {
        QJsonArray entries;
        for (int row = 0; row < list.count(); ++row) {
            QJsonObject entry;
            for (const char* column : kPrintedColumns)
                entry.insert(QString::fromLatin1(column), cell(column, row));
            entries.append(entry);
        }
        QJsonObject document{{"entries", entries}};
        if (total)
            document.insert("total", *total);
        out << QJsonDocument(document).toJson(QJsonDocument::Indented).toStdString();
    } else {
        for (int row = 0; row < list.count(); ++row) {
            std::string line;
            for (const char* column : kPrintedColumns) {
                if (column != kPrintedColumns[0])
                    line += '\t';
                line += escapeTableCell(cell(column, row));
            }
            out << line << "\n";
        }
        if (total)
            out << total->toStdString() << "\n";
    }

    if (options.isSet("save")) {
        filelist::saveList(list, defaults);
        if (!session.preferences().write("list"))
            status = 1;
    }
    return status;
}

} // namespace cli
