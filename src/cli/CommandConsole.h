#pragma once

#include "cli/ConsoleProgressLine.h"
#include "support/Console.h"

#include <QString>
#include <QStringList>
#include <expected>
#include <iosfwd>

namespace media {
struct Error;
}
namespace support {
class Job;
}

namespace cli {

// What a command tells on its error stream while it works: the status line
// (only when verbose), what the window would say in an alert, diagnostics
// (writeLine), and the progress of a job it runs.
class CommandConsole final : public support::Console {
public:
    CommandConsole(std::ostream& err, bool verbose);

    // A status line ("Created movie: a.png"); empty texts are not printed.
    void status(const QString& text);
    // One line "message — informative" (just the message when the
    // informative text is blank); texts given arguments are formats, looked
    // up first and then filled, as in the window's alerts.
    void alert(const QString& message, const QString& informative, const QStringList& messageArguments = {},
               const QStringList& informativeArguments = {});
    void writeLine(const QString& line) override;

    // Runs the job on this thread with its progress line under `title`; its
    // phase texts are status lines, and a Ctrl-C cancels it.
    [[nodiscard]] std::expected<void, media::Error> run(support::Job& job, const QString& title);

private:
    std::ostream& m_err;
    bool m_verbose;
    ConsoleProgressLine m_progress;
};

} // namespace cli
