#pragma once

#include "support/AlertPresenter.h"

#include <iosfwd>

namespace cli {

// Alerts for the command line: each alert is one line "message — informative"
// on the stream (just the message when the informative text is blank). No one
// is there to press OK, so both the sheet and the modal form return at once.
// The beep makes no sound.
class HeadlessAlertPresenter final : public support::AlertPresenter {
public:
    explicit HeadlessAlertPresenter(std::ostream& out);

    void beep() override {}
    void showInformational(const QString& message, const QString& informative,
                           support::WindowHandle* parentWindow) override;

private:
    std::ostream& m_out;
};

} // namespace cli
