#include "ui/CredentialsDialog.h"

#include "support/FormatText.h"
#include "support/LocalizedString.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ui {

using support::LocalizedString;

std::optional<net::Credentials> askForCredentials(QWidget& window, const QUrl& url, const QString& realm) {
    QDialog dialog(&window);
    dialog.setObjectName("credentialsDialog");
    dialog.setWindowTitle(LocalizedString("Name and Password"));
    dialog.setWindowModality(Qt::WindowModal);
    auto* layout = new QVBoxLayout(&dialog);
    auto* question = new QLabel(support::fillFormat(
        LocalizedString("The server %@ asks for a name and password (%@)."),
        {url.host(), realm.isEmpty() ? url.toString(QUrl::RemoveUserInfo | QUrl::RemoveQuery) : realm}));
    question->setWordWrap(true);
    layout->addWidget(question);
    auto* fields = new QFormLayout;
    auto* user = new QLineEdit(url.userName());
    user->setObjectName("userField");
    user->setAccessibleName(LocalizedString("Name"));
    auto* password = new QLineEdit;
    password->setObjectName("passwordField");
    password->setAccessibleName(LocalizedString("Password"));
    password->setEchoMode(QLineEdit::Password);
    fields->addRow(LocalizedString("Name:"), user);
    fields->addRow(LocalizedString("Password:"), password);
    layout->addLayout(fields);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(LocalizedString("Log In"));
    buttons->button(QDialogButtonBox::Cancel)->setText(LocalizedString("Cancel"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    (user->text().isEmpty() ? user : password)->setFocus();
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return net::Credentials{user->text(), password->text()};
}

} // namespace ui
