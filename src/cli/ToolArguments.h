#pragma once

#include "media/Error.h"
#include "media/Time.h"

#include <expected>
#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

namespace support {
class Job;
}

namespace cli {

class CommandLine;

// A movie time the user typed (any form the time reader accepts), not negative.
[[nodiscard]] std::expected<media::Time, std::string> readMovieTime(const std::string& text);

// Why outputs cannot be written without losing something: one of them exists
// (unless `replace`), is the source itself, or two are the same file.
[[nodiscard]] std::expected<void, std::string>
checkOutputs(const std::filesystem::path& source, const std::vector<std::filesystem::path>& outputs, bool replace);

// The one movie FILE and the file of -o a tool command works on. When one is
// missing the usage error is printed ("-o OUT is needed" with `outputName`
// for OUT) and its exit status answered.
struct MovieAndOutput final {
    std::filesystem::path movie;
    std::filesystem::path output;
};
[[nodiscard]] std::expected<MovieAndOutput, int> movieAndOutput(const CommandLine& options,
                                                                const std::string& outputName, std::ostream& err);

// Runs a tool job on this thread, its progress shown as "TITLE: 42%" on err
// when `title` is given; answers how it ended.
[[nodiscard]] std::expected<void, media::Error> runToolJob(support::Job& job, const std::string& title,
                                                           std::ostream& err);

// Prints "joinclip COMMAND: PROBLEM" to err and answers 1, the status of a failure.
int toolFailure(const char* command, const std::string& problem, std::ostream& err);

} // namespace cli
