#include "cli/ToolArguments.h"

#include "cli/CommandLine.h"
#include "cli/PercentLine.h"
#include "support/Job.h"

#include <ostream>
#include <set>

namespace cli {

std::expected<media::Time, std::string> readMovieTime(const std::string& text) {
    const auto time = media::parseTime(text);
    if (!time || media::isIndefinite(*time) || time->value < 0)
        return std::unexpected("'" + text + "' is not a time (seconds, M:SS, H:MM:SS or D:HH:MM:SS.U/SCALE)");
    return *time;
}

std::expected<void, std::string> checkOutputs(const std::filesystem::path& source,
                                              const std::vector<std::filesystem::path>& outputs, bool replace) {
    std::set<std::filesystem::path> seen;
    std::error_code error;
    for (const auto& output : outputs) {
        const auto normal = std::filesystem::absolute(output, error).lexically_normal();
        if (!seen.insert(normal).second)
            return std::unexpected(output.string() + " is named twice");
        if (std::filesystem::exists(output, error)) {
            if (std::filesystem::equivalent(output, source, error))
                return std::unexpected(output.string() + " is the source itself");
            if (!replace)
                return std::unexpected(output.string() + " exists (--replace writes over it)");
        }
    }
    return {};
}

std::expected<MovieAndOutput, int> movieAndOutput(const CommandLine& options, const std::string& outputName,
                                                  std::ostream& err) {
    const auto files = options.positionalPaths();
    if (files.size() != 1)
        return std::unexpected(options.usageError("one movie file is needed", err));
    const auto output = options.path("output");
    if (!output)
        return std::unexpected(options.usageError("-o " + outputName + " is needed", err));
    return MovieAndOutput{files.front(), *output};
}

std::expected<void, media::Error> runToolJob(support::Job& job, const std::string& title, std::ostream& err) {
    PercentLine line(err, title);
    QMetaObject::Connection shown;
    if (!title.empty())
        shown = QObject::connect(&job, &support::Job::progressChanged,
                                 [&line](double fraction, const QString&) { line.show(fraction); });
    auto ran = job.runHere();
    QObject::disconnect(shown);
    line.end();
    return ran;
}

int toolFailure(const char* command, const std::string& problem, std::ostream& err) {
    err << "joinclip " << command << ": " << problem << "\n";
    return 1;
}

} // namespace cli
