#pragma once

#include "support/Notice.h"

class QWidget;

namespace ui {

// Tells notice as the desktop shows alerts: the beep, then a message box
// whose texts are looked up and filled (support::localizedText), marked as
// an error for a failure, with the one button "OK". Over a parent it is a
// sheet (window-modal: the call returns at once); without one it is
// application-modal and the call returns once the user pressed OK.
void showAlert(const support::Notice& notice, QWidget* parent);

} // namespace ui
