#include "support/DoAlert.h"

#include "support/FormatText.h"
#include "support/LocalizedString.h"

namespace support {

namespace {

QString lookedUpAndFilled(const QString& text, const QStringList& arguments) {
    const QString shown = LocalizedString(text);
    return arguments.isEmpty() ? shown : fillFormat(shown, arguments);
}

} // namespace

void doAlert(AlertPresenter& alerts, const QString& message, const QString& informative,
             WindowHandle* parentWindow, const QStringList& messageArguments,
             const QStringList& informativeArguments) {
    alerts.beep();
    alerts.showInformational(lookedUpAndFilled(message, messageArguments),
                             lookedUpAndFilled(informative, informativeArguments), parentWindow);
}

void doErrorAlert(AlertPresenter& alerts, const QString& message, const QString& informative,
                  WindowHandle* parentWindow, const QStringList& messageArguments,
                  const QStringList& informativeArguments) {
    alerts.beep();
    alerts.showError(lookedUpAndFilled(message, messageArguments),
                     lookedUpAndFilled(informative, informativeArguments), parentWindow);
}

} // namespace support
