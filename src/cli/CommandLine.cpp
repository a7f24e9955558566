#include "cli/CommandLine.h"

#include <QStringList>
#include <algorithm>
#include <cstring>
#include <ostream>

namespace cli {

namespace {

QString fromBytes(const std::string& bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string toBytes(const QString& latin1) {
    return latin1.toLatin1().toStdString();
}

QStringList names(std::initializer_list<const char*> list) {
    QStringList out;
    for (const char* name : list)
        out << QString::fromLatin1(name);
    return out;
}

} // namespace

CommandLine::CommandLine(const char* command, const char* description) : m_command(command) {
    m_parser.setApplicationDescription(QString::fromUtf8(description));
    m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    m_parser.addHelpOption();
}

void CommandLine::addFlag(std::initializer_list<const char*> list, const char* description) {
    m_parser.addOption(QCommandLineOption(names(list), QString::fromUtf8(description)));
}

void CommandLine::addValue(std::initializer_list<const char*> list, const char* valueName,
                           const char* description, Times times) {
    if (times == Times::Once) // named in messages by its longest name ("output", not "o")
        m_givenOnce.push_back(
            QString::fromLatin1(*std::max_element(list.begin(), list.end(), [](const char* a, const char* b) {
                return std::strlen(a) < std::strlen(b);
            })));
    m_parser.addOption(
        QCommandLineOption(names(list), QString::fromUtf8(description), QString::fromLatin1(valueName)));
}

void CommandLine::addPositional(const char* name, const char* description, const char* syntax) {
    m_parser.addPositionalArgument(QString::fromLatin1(name), QString::fromUtf8(description),
                                   QString::fromLatin1(syntax));
}

std::optional<int> CommandLine::parse(const std::vector<std::string>& arguments, std::ostream& out,
                                      std::ostream& err) {
    QStringList list{QString::fromLatin1("joinclip")};
    for (const std::string& argument : arguments)
        list << fromBytes(argument);
    if (!m_parser.parse(list))
        return usageError(m_parser.errorText().toStdString(), err);
    if (m_parser.isSet(QStringLiteral("help"))) {
        out << helpText();
        return 0;
    }
    for (const QString& name : m_givenOnce)
        if (m_parser.values(name).size() > 1)
            return usageError(
                (QStringLiteral("--") + name + QStringLiteral(" may be given only once")).toStdString(), err);
    return std::nullopt;
}

int CommandLine::usageError(const std::string& problem, std::ostream& err) const {
    const std::string help = helpText();
    err << "joinclip " << m_command << ": " << problem << "\n"
        << help.substr(0, help.find('\n') + 1) << "(joinclip " << m_command
        << " --help shows every option)\n";
    return 2;
}

std::string CommandLine::helpText() const {
    // Qt names the program "<executable_name>" or its path; ours is "joinclip COMMAND".
    QString text = m_parser.helpText();
    const qsizetype options = text.indexOf(QStringLiteral(" [options]"));
    if (options >= 0 && options < text.indexOf('\n'))
        text.replace(0, options, QStringLiteral("Usage: joinclip ") + QString::fromStdString(m_command));
    return text.toStdString();
}

bool CommandLine::isSet(const char* name) const {
    return m_parser.isSet(QString::fromLatin1(name));
}

std::string CommandLine::bytes(const char* name) const {
    return toBytes(m_parser.value(QString::fromLatin1(name)));
}

std::vector<std::string> CommandLine::allBytes(const char* name) const {
    std::vector<std::string> values;
    for (const QString& value : m_parser.values(QString::fromLatin1(name)))
        values.push_back(toBytes(value));
    return values;
}

QString CommandLine::text(const char* name) const {
    return QString::fromStdString(bytes(name));
}

std::vector<QString> CommandLine::allTexts(const char* name) const {
    std::vector<QString> values;
    for (const std::string& value : allBytes(name))
        values.push_back(QString::fromStdString(value));
    return values;
}

std::optional<std::filesystem::path> CommandLine::path(const char* name) const {
    if (!isSet(name))
        return std::nullopt;
    return std::filesystem::path(bytes(name));
}

std::vector<std::string> CommandLine::positionalBytes() const {
    std::vector<std::string> values;
    for (const QString& value : m_parser.positionalArguments())
        values.push_back(toBytes(value));
    return values;
}

std::vector<std::filesystem::path> CommandLine::positionalPaths() const {
    std::vector<std::filesystem::path> paths;
    for (const std::string& value : positionalBytes())
        paths.emplace_back(value);
    return paths;
}

} // namespace cli
