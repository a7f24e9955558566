#pragma once

#include "support/ProgressSheet.h"
#include "support/StoredTextControl.h"

#include <QString>
#include <iosfwd>

namespace cli {

// The progress sheet of the command line: while it is shown, each new time
// line is printed with the title and the percent done, "Saving movie: 42%
// Elapsed Time: ...". On a terminal it is one line rewritten in place, ended
// when the sheet ends; elsewhere (a log, a pipe) a line of its own each time
// another tenth of the work is done. Nobody can press its Cancel button.
class ConsoleProgressSheet final : public support::SheetPanel {
public:
    // `terminal`: whether err is a terminal (by default, whether standard error is one).
    explicit ConsoleProgressSheet(std::ostream& err, bool terminal = isTerminal());
    static bool isTerminal();

    support::ProgressSheetOutlets outlets();

    void beginSheet(support::WindowHandle* parentWindow) override;
    void endSheet() override;
    bool isShown() const override { return m_shown; }
    // Ends the progress line written so far, so that other output starts on a line of its own.
    void endLine();

private:
    // The time line field: setting it prints the progress line.
    class TimeLineField final : public support::TextControl {
    public:
        explicit TimeLineField(ConsoleProgressSheet& sheet) : m_sheet(sheet) {}
        void setText(const QString& text) override;
        QString text() const override { return m_text; }
        void setHidden(bool hidden) override { m_hidden = hidden; }
        bool isHidden() const override { return m_hidden; }

    private:
        ConsoleProgressSheet& m_sheet;
        QString m_text;
        bool m_hidden = false;
    };

    void printLine(const QString& timeLine);

    std::ostream& m_err;
    support::StoredProgressBar m_bar;
    support::StoredTextControl m_title;
    TimeLineField m_timeLine{*this};
    support::StoredControl m_cancelButton;
    bool m_shown = false;
    bool m_printed = false;
    bool m_terminal;
    int m_lastTenth = -1; // the tenth of the work last printed, away from a terminal
    QString m_lastLine;
};

} // namespace cli
