#include "cli/ConsoleProgressLine.h"

#include <ostream>
#include <unistd.h>

namespace cli {

ConsoleProgressLine::ConsoleProgressLine(std::ostream& err, bool terminal) : m_err(err), m_terminal(terminal) {}

bool ConsoleProgressLine::isTerminal() {
    return ::isatty(STDERR_FILENO) == 1;
}

void ConsoleProgressLine::begin(const QString& title) {
    m_title = title;
    m_shown = true;
    m_printed = false;
    m_lastTenth = -1;
    m_lastLine.clear();
}

void ConsoleProgressLine::end() {
    if (m_shown && m_printed && m_terminal)
        m_err << "\n" << std::flush;
    m_shown = false;
    m_printed = false;
}

void ConsoleProgressLine::endLine() {
    if (m_printed)
        m_err << "\n" << std::flush;
    m_printed = false;
    m_lastLine.clear();
}

void ConsoleProgressLine::show(int percent, const QString& timeLine) {
    if (!m_shown || timeLine.isEmpty())
        return;
    // The time line changes at most once a second, so printing only changes keeps the output short.
    const QString line =
        QString("%1: %2%  %3").arg(m_title.trimmed(), QString::number(percent), timeLine.trimmed());
    if (line == m_lastLine)
        return;
    m_lastLine = line;
    m_printed = true;
    if (m_terminal) {
        m_err << "\r" << line.toStdString() << std::flush;
        return;
    }
    // A log keeps every line: one per tenth of the work is enough to follow it.
    const int tenth = percent / 10;
    if (tenth <= m_lastTenth)
        return;
    m_lastTenth = tenth;
    m_err << line.toStdString() << "\n" << std::flush;
}

} // namespace cli
