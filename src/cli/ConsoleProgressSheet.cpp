#include "cli/ConsoleProgressSheet.h"

#include <ostream>

namespace cli {

ConsoleProgressSheet::ConsoleProgressSheet(std::ostream& err) : m_err(err) {}

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
    m_lastLine.clear();
}

void ConsoleProgressSheet::endSheet() {
    if (m_shown && m_printed)
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
    m_err << "\r" << line.toStdString() << std::flush;
}

} // namespace cli
