#include "ui/ProgressSheet.h"

#include "ui_ProgressSheet.h"

namespace ui {

ProgressSheet::ProgressSheet(QWidget& mainWindow)
    : QDialog(&mainWindow), m_ui([this] {
          auto form = std::make_unique<Ui::ProgressSheet>();
          form->setupUi(this);
          return form;
      }()),
      m_bar(*m_ui->progressBar), m_title(*m_ui->progressText),
      m_timeLine(*m_ui->estimatedTimeRemainingTextField), m_cancelButton(*m_ui->cancelButton) {
    setWindowModality(Qt::WindowModal);
    connect(m_ui->cancelButton, &QPushButton::clicked, this, [this] {
        if (m_cancel)
            m_cancel();
        else
            endSheet();
    });
}

ProgressSheet::~ProgressSheet() = default;

support::ProgressSheetOutlets ProgressSheet::outlets() {
    return {this, &m_bar, &m_title, &m_timeLine, &m_cancelButton};
}

void ProgressSheet::beginSheet(support::WindowHandle*) {
    // Always over the main window, which is its parent.
    show();
    raise();
}

void ProgressSheet::endSheet() {
    hide();
}

void ProgressSheet::reject() {
    // Escape or the window's close button: the write must stop, not go on unseen.
    m_ui->cancelButton->click();
}

} // namespace ui
