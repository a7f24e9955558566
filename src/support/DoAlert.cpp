#include "support/DoAlert.h"

#include "support/LocalizedString.h"

namespace support {

void doAlert(AlertPresenter& alerts, const QString& message, const QString& informative,
             WindowHandle* parentWindow) {
    alerts.beep();
    const QString shownMessage = LocalizedString(message);
    const QString shownInformative = LocalizedString(informative);
    alerts.showInformational(shownMessage, shownInformative, parentWindow);
}

} // namespace support
