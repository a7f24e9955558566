#include "ui/AlertSheets.h"

#include "ui/WidgetControls.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>

namespace ui {

void AlertSheets::beep() {
    QApplication::beep();
}

namespace {

void showAlert(QMessageBox::Icon icon, const QString& message, const QString& informative,
               support::WindowHandle* parentWindow) {
    QWidget* parent = widgetOf(parentWindow);
    auto* box = new QMessageBox(parent);
    box->setObjectName("alert");
    box->setIcon(icon);
    box->setWindowTitle(QApplication::applicationName());
    // File names are shown as they are, never read as markup.
    box->setTextFormat(Qt::PlainText);
    box->setText(message);
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

} // namespace

void AlertSheets::showInformational(const QString& message, const QString& informative,
                                    support::WindowHandle* parentWindow) {
    showAlert(QMessageBox::Information, message, informative, parentWindow);
}

void AlertSheets::showError(const QString& message, const QString& informative,
                            support::WindowHandle* parentWindow) {
    showAlert(QMessageBox::Critical, message, informative, parentWindow);
}

} // namespace ui
