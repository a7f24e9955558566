#pragma once

#include "support/AlertPresenter.h"

namespace ui {

// Alerts as the desktop shows them: a window-modal message box over the
// parent window (a sheet: the call returns at once), or an application-modal
// one without a parent (the call returns once the user pressed OK).
class AlertSheets final : public support::AlertPresenter {
public:
    void beep() override;
    void showError(const QString& message, const QString& informative, support::WindowHandle* parentWindow) override;
    void showInformational(const QString& message, const QString& informative,
                           support::WindowHandle* parentWindow) override;
};

} // namespace ui
