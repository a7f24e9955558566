#pragma once

#include "support/ProgressSheet.h"
#include "ui/WidgetControls.h"

#include <QDialog>
#include <functional>
#include <memory>

namespace ui {

namespace Ui {
class ProgressSheet;
}

// The sheet shown while a movie is written (progressPanel): a bar, the
// operation's title line, the time line and Cancel. It is window-modal on
// the main window, so the rest of that window takes no input while it is up.
// Cancel, Escape and closing the sheet all run the cancel action (the
// controller's cancelJob), which ends the sheet.
class ProgressSheet final : public QDialog, public support::SheetPanel {
    Q_OBJECT
public:
    explicit ProgressSheet(QWidget& mainWindow);
    ~ProgressSheet() override;

    void setCancelAction(std::function<void()> cancel) { m_cancel = std::move(cancel); }
    support::ProgressSheetOutlets outlets();

    void beginSheet(support::WindowHandle* parentWindow) override;
    void endSheet() override;
    bool isShown() const override { return isVisible(); }

    void reject() override;

private:
    std::unique_ptr<Ui::ProgressSheet> m_ui;
    std::function<void()> m_cancel;
    BarProgress m_bar;
    LabelTextControl m_title;
    LabelTextControl m_timeLine;
    WidgetControl m_cancelButton;
};

} // namespace ui
