#pragma once

#include "support/ProgressSheet.h"
#include "support/StoredTextControl.h"

#include <QString>
#include <iosfwd>

namespace cli {

// The progress sheet of the command line: while it is shown, each new time
// line is printed on one rewritten line of the stream (stderr) with the title
// and the percent done, "Saving movie: 42%  Elapsed Time: ...". The line
// ends when the sheet does. Nobody can press its Cancel button.
class ConsoleProgressSheet final : public support::SheetPanel {
public:
    explicit ConsoleProgressSheet(std::ostream& err);

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
    QString m_lastLine;
};

} // namespace cli
