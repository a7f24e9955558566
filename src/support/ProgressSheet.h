#pragma once

#include "support/Control.h"
#include "support/TextControl.h"
#include "support/WindowHandle.h"

namespace support {

// A panel shown as a sheet on a parent window (window-modal) until it is ended.
class SheetPanel {
public:
    virtual ~SheetPanel() = default;
    virtual void beginSheet(WindowHandle* parentWindow) = 0;
    // Ends the sheet and closes the panel; harmless when it is not shown.
    virtual void endSheet() = 0;
    virtual bool isShown() const = 0;
};

// A determinate progress bar; the values set run from 0 to 100.
class ProgressBar {
public:
    virtual ~ProgressBar() = default;
    virtual void setValue(double value) = 0;
    virtual double value() const = 0;
    // Redraws the bar now: during a write the event loop does not run.
    virtual void displayNow() = 0;
};

// The sheet shown while a movie is written: a bar, a title line, the time
// line and a Cancel button. The user interface connects the button to the
// controller's cancelJob(); the logic only passes the button along.
struct ProgressSheetOutlets final {
    SheetPanel* progressPanel = nullptr;
    ProgressBar* progressBar = nullptr;
    TextControl* progressText = nullptr;
    TextControl* estimatedTimeRemainingTextField = nullptr;
    Control* cancelButton = nullptr;
};

} // namespace support
