#pragma once

#include <QDialog>
#include <memory>

namespace ui {

namespace Ui {
class ProgressSheet;
}

// The sheet shown while a job writes: a bar, the job's title line, the time
// line and Cancel. It is window-modal on the main window, so the rest of that
// window takes no input while it is up. Cancel, Escape and closing the sheet
// all end it at once and emit cancelRequested().
class ProgressSheet final : public QDialog {
    Q_OBJECT
public:
    explicit ProgressSheet(QWidget& mainWindow);
    ~ProgressSheet() override;

    // Shows the sheet from the start of a job titled title.
    void begin(const QString& title);
    // fraction in [0, 1]; timeLine: the time elapsed and the time still to go.
    void showProgress(double fraction, const QString& timeLine);
    // Ends the sheet; harmless when it is not shown.
    void end();

    void reject() override;

signals:
    void cancelRequested();

private:
    std::unique_ptr<Ui::ProgressSheet> m_ui;
};

} // namespace ui
