#include "cli/InfoCommand.h"

#include "cli/CommandLine.h"
#include "cli/MovieReport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <ostream>

namespace cli {

int runInfoCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    CommandLine options("info",
                        "Tells whether each file opens as a movie, and its display name, duration, time "
                        "scale, natural size, tracks and frame count.");
    options.addFlag({"json"}, "Prints one JSON array, one object per file.");
    options.addPositional("FILE", "The files to report on.", "FILE...");
    if (const auto status = options.parse(arguments, out, err))
        return *status;
    const bool json = options.isSet("json");
    const std::vector<std::filesystem::path> paths = options.positionalPaths();
    if (paths.empty())
        return options.usageError("no file given", err);

    int status = 0;
    QJsonArray reports;
    for (const auto& path : paths) {
        const MovieReport report = makeMovieReport(path);
        if (!report.opens) {
            err << "joinclip: cannot open " << path.string() << ": " << report.error << "\n";
            status = 1;
        }
        if (json)
            reports.append(movieReportJson(report));
        else if (report.opens)
            out << formatMovieReport(report) << std::flush;
    }
    if (json)
        out << QJsonDocument(reports).toJson(QJsonDocument::Indented).toStdString();
    return status;
}

} // namespace cli
