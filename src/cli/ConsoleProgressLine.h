#pragma once

#include <QString>
#include <iosfwd>

namespace cli {

// The progress of a write on the command line: while it is shown, each new
// time line is printed with the title and the percent done, "Saving movie:
// 42%  Elapsed Time: ...". On a terminal it is one line rewritten in place,
// ended when the write ends; elsewhere (a log, a pipe) a line of its own each
// time another tenth of the work is done.
class ConsoleProgressLine final {
public:
    // `terminal`: whether err is a terminal (by default, whether standard error is one).
    explicit ConsoleProgressLine(std::ostream& err, bool terminal = isTerminal());
    static bool isTerminal();

    void begin(const QString& title);
    // The percent done and the time line ("Elapsed Time: ..."); printed when it says something new.
    void show(int percent, const QString& timeLine);
    void end();
    [[nodiscard]] bool isShown() const { return m_shown; }
    // Ends the progress line written so far, so that other output starts on a line of its own.
    void endLine();

private:
    std::ostream& m_err;
    QString m_title;
    bool m_shown = false;
    bool m_printed = false;
    bool m_terminal;
    int m_lastTenth = -1; // the tenth of the work last printed, away from a terminal
    QString m_lastLine;
};

} // namespace cli
