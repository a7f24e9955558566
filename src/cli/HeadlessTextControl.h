#pragma once

#include "support/TextControl.h"

#include <functional>
#include <iosfwd>

namespace cli {

// A text field for the command line: each non-empty text set while the field
// is visible is written to the stream (stderr, as a rule) as one line.
class HeadlessTextControl final : public support::TextControl {
public:
    explicit HeadlessTextControl(std::ostream& out);

    void setText(const QString& text) override;
    QString text() const override { return m_text; }
    void setHidden(bool hidden) override { m_hidden = hidden; }
    bool isHidden() const override { return m_hidden; }
    // Runs before each line is written (ends a progress line still open on the stream).
    void setBeforeEachLine(std::function<void()> before) { m_before = std::move(before); }

private:
    std::function<void()> m_before;
    std::ostream& m_out;
    QString m_text;
    bool m_hidden = false;
};

} // namespace cli
