#include "ui/ProgressSheet.h"

#include "ui_ProgressSheet.h"

#include <cmath>

namespace ui {

ProgressSheet::ProgressSheet(QWidget& mainWindow)
    : QDialog(&mainWindow), m_ui(std::make_unique<Ui::ProgressSheet>()) {
    m_ui->setupUi(this);
    m_ui->progressBar->setRange(0, 1000);
    setWindowModality(Qt::WindowModal);
    connect(m_ui->cancelButton, &QPushButton::clicked, this, [this] {
        // The sheet goes at once; the job stops at its next progress step.
        end();
        emit cancelRequested();
    });
}

ProgressSheet::~ProgressSheet() = default;

void ProgressSheet::begin(const QString& title) {
    m_ui->progressText->setText(title);
    m_ui->progressBar->setValue(0);
    m_ui->estimatedTimeRemainingTextField->clear();
    // Always over the main window, which is its parent.
    show();
    raise();
}

void ProgressSheet::showProgress(double fraction, const QString& timeLine) {
    m_ui->progressBar->setValue(static_cast<int>(std::lround(fraction * m_ui->progressBar->maximum())));
    m_ui->estimatedTimeRemainingTextField->setText(timeLine);
}

void ProgressSheet::end() {
    m_ui->estimatedTimeRemainingTextField->clear();
    hide();
}

void ProgressSheet::reject() {
    // Escape or the window's close button: the write must stop, not go on unseen.
    m_ui->cancelButton->click();
}

} // namespace ui
