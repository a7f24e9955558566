#include "ui/FileChangeQuestion.h"

#include "support/LocalizedString.h"
#include "support/UserDefaults.h"

#include <QApplication>
#include <QCheckBox>
#include <QMessageBox>
#include <QPushButton>

namespace ui {

bool confirmFileChange(QWidget& parent, support::UserDefaults& defaults, const QString& question,
                       const QString& informative) {
    if (!defaults.boolValue(support::Pref::AskBeforeChangingFiles))
        return true;
    QMessageBox box(QMessageBox::Warning, QApplication::applicationName(), question, QMessageBox::NoButton,
                    &parent);
    box.setObjectName("fileChangeQuestion");
    box.setTextFormat(Qt::PlainText);
    box.setInformativeText(informative);
    QPushButton* change = box.addButton(support::LocalizedString("Change Files"), QMessageBox::AcceptRole);
    box.setDefaultButton(box.addButton(QMessageBox::Cancel));
    auto* dontAsk = new QCheckBox(support::LocalizedString("Do not ask again"), &box);
    box.setCheckBox(dontAsk);
    box.exec();
    const bool goOn = box.clickedButton() == change;
    if (goOn && dontAsk->isChecked())
        defaults.setValue(support::Pref::AskBeforeChangingFiles, false);
    return goOn;
}

} // namespace ui
