#include "cli/InfoCommand.h"

#include "cli/MovieReport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <ostream>

namespace cli {

int runInfoCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    bool json = false;
    bool optionsEnded = false;
    std::vector<std::filesystem::path> paths;
    for (const std::string& argument : arguments) {
        if (!optionsEnded && argument == "--json") {
            json = true;
        } else if (!optionsEnded && argument == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && argument.starts_with("-") && argument != "-") {
            err << "joinclip info: unknown option " << argument << "\n";
            return 2;
        } else {
            paths.emplace_back(argument);
        }
    }
    if (paths.empty()) {
        err << "usage: joinclip info [--json] FILE...\n";
        return 2;
    }

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
