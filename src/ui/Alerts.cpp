#include "ui/Alerts.h"

#include "support/FormatText.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>

namespace ui {

void showAlert(const support::Notice& notice, QWidget* parent) {
    QApplication::beep();
    const QString informative = support::localizedText(notice.informative, notice.informativeArguments);
    auto* box = new QMessageBox(parent);
    box->setObjectName("alert");
    box->setIcon(notice.kind == support::Told::Failure ? QMessageBox::Critical : QMessageBox::Information);
    box->setWindowTitle(QApplication::applicationName());
    // File names are shown as they are, never read as markup.
    box->setTextFormat(Qt::PlainText);
    box->setText(support::localizedText(notice.message, notice.messageArguments));
    // Callers with nothing to add pass a blank: no empty second paragraph then.
    if (!informative.trimmed().isEmpty()) {
        box->setInformativeText(informative);
        if (auto* label = box->findChild<QLabel*>("qt_msgbox_informativelabel"))
            label->setTextFormat(Qt::PlainText);
    }
    // The one button is "OK" in every language.
    box->setDefaultButton(box->addButton(QStringLiteral("OK"), QMessageBox::AcceptRole));
    if (parent) {
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setWindowModality(Qt::WindowModal);
        box->open();
        return;
    }
    box->exec();
    delete box;
}

} // namespace ui
