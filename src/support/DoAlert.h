#pragma once

#include "support/AlertPresenter.h"
#include "support/WindowHandle.h"

#include <QString>

namespace support {

// Beeps, then shows one informational alert whose message and informative
// texts are both looked up with LocalizedString; the informative text is not
// used as a format. A sheet on parentWindow when one is given (returns at
// once), else application-modal (returns after OK). Callers with nothing to
// add pass " " or the empty text as informative.
void doAlert(AlertPresenter& alerts, const QString& message, const QString& informative,
             WindowHandle* parentWindow);

} // namespace support
