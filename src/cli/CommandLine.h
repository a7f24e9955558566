#pragma once

#include <QCommandLineParser>
#include <QString>
#include <filesystem>
#include <initializer_list>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace cli {

// The options of one command, parsed by QCommandLineParser. The arguments are
// kept as the bytes the shell gave (file names need not be UTF-8): each byte
// travels through the parser as one Latin-1 character and comes back out as
// that byte; texts meant for people (titles, component names, values) are
// read as UTF-8.
class CommandLine final {
public:
    // `command` is the command's name ("join"); `description` says what it does.
    CommandLine(const char* command, const char* description);

    void addFlag(std::initializer_list<const char*> names, const char* description);
    // Whether an option with a value may be given more than once: an option
    // given once that appears twice is refused, never silently read as its last value.
    enum class Times { Once, Repeatable };
    void addValue(std::initializer_list<const char*> names, const char* valueName, const char* description,
                  Times times = Times::Once);
    void addPositional(const char* name, const char* description, const char* syntax);

    // Parses `arguments`. None when the command should go on; otherwise the
    // exit status: 0 after printing the help for --help, 2 after a usage error.
    std::optional<int> parse(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);
    // Prints `problem` and the usage line to err; answers 2, the status of a usage error.
    int usageError(const std::string& problem, std::ostream& err) const;

    bool isSet(const char* name) const;
    std::string bytes(const char* name) const; // the last value given
    std::vector<std::string> allBytes(const char* name) const;
    QString text(const char* name) const;
    std::vector<QString> allTexts(const char* name) const;
    std::optional<std::filesystem::path> path(const char* name) const;
    std::vector<std::string> positionalBytes() const;
    std::vector<std::filesystem::path> positionalPaths() const;

private:
    std::string helpText() const;

    std::string m_command;
    QCommandLineParser m_parser;
    std::vector<QString> m_givenOnce; // the first name of each value option that may appear once
};

} // namespace cli
