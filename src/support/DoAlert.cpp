#include "support/DoAlert.h"

#include "support/FormatText.h"

namespace support {

void doAlert(AlertPresenter& alerts, const QString& message, const QString& informative,
             WindowHandle* parentWindow, const QStringList& messageArguments,
             const QStringList& informativeArguments) {
    alerts.beep();
    alerts.showInformational(localizedText(message, messageArguments),
                             localizedText(informative, informativeArguments), parentWindow);
}

void doErrorAlert(AlertPresenter& alerts, const QString& message, const QString& informative,
                  WindowHandle* parentWindow, const QStringList& messageArguments,
                  const QStringList& informativeArguments) {
    alerts.beep();
    alerts.showError(localizedText(message, messageArguments),
                     localizedText(informative, informativeArguments), parentWindow);
}

} // namespace support
