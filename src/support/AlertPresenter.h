#pragma once

#include "support/WindowHandle.h"

#include <QString>

namespace support {

// Shows alerts to the user and sounds the beep.
class AlertPresenter {
public:
    virtual ~AlertPresenter() = default;

    // The system beep.
    virtual void beep() = 0;
    // An informational alert: message as its message text, informative as its
    // informative text, both shown as given, and one button "OK" (a label that
    // is not translated). With a parent window it is a sheet on that window
    // and the call returns at once; the sheet closes when the user presses OK
    // and nothing follows. Without one it is application-modal and the call
    // returns when the user presses OK.
    virtual void showInformational(const QString& message, const QString& informative,
                                   WindowHandle* parentWindow) = 0;
    // The same for a failure: what was asked could not be done. A window
    // marks it as an error; elsewhere it reads as the informational one.
    virtual void showError(const QString& message, const QString& informative, WindowHandle* parentWindow) {
        showInformational(message, informative, parentWindow);
    }
};

} // namespace support
