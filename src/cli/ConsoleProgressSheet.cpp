#include "cli/ConsoleProgressSheet.h"

#include <ostream>
#include <unistd.h>

namespace cli {

ConsoleProgressSheet::ConsoleProgressSheet(std::ostream& err, bool terminal)
    : m_err(err), m_terminal(terminal) {}

bool ConsoleProgressSheet::isTerminal() {
    return ::isatty(STDERR_FILENO) == 1;
}

support::ProgressSheetOutlets ConsoleProgressSheet::outlets() {
    support::ProgressSheetOutlets outlets;
    outlets.progressPanel = this;
    outlets.progressBar = &m_bar;
    outlets.progressText = &m_title;
    outlets.estimatedTimeRemainingTextField = &m_timeLine;
    outlets.cancelButton = &m_cancelButton;
    return outlets;
}

void ConsoleProgressSheet::beginSheet(support::WindowHandle* /*parentWindow*/) {
    m_shown = true;
    m_printed = false;
    m_lastTenth = -1;
    m_lastLine.clear();
}

void ConsoleProgressSheet::endSheet() {
    if (m_shown && m_printed && m_terminal)
        m_err << "\n" << std::flush;
    m_shown = false;
    m_printed = false;
}

void ConsoleProgressSheet::endLine() {
    if (m_printed)
        m_err << "\n" << std::flush;
    m_printed = false;
    m_lastLine.clear();
}

void ConsoleProgressSheet::TimeLineField::setText(const QString& text) {
    m_text = text;
    if (!text.isEmpty())
        m_sheet.printLine(text);
}

void ConsoleProgressSheet::printLine(const QString& timeLine) {
    if (!m_shown)
        return;
    // The time line changes at most once a second, so printing only changes keeps the output short.
    const QString line = QString("%1: %2%  %3")
                             .arg(m_title.text().trimmed(), QString::number(static_cast<int>(m_bar.value())),
                                  timeLine.trimmed());
    if (line == m_lastLine)
        return;
    m_lastLine = line;
    m_printed = true;
    if (m_terminal) {
        m_err << "\r" << line.toStdString() << std::flush;
        return;
    }
    // A log keeps every line: one per tenth of the work is enough to follow it.
    const int tenth = static_cast<int>(m_bar.value()) / 10;
    if (tenth <= m_lastTenth)
        return;
    m_lastTenth = tenth;
    m_err << line.toStdString() << "\n" << std::flush;
}

} // namespace cli
