#pragma once

#include "support/AlertPresenter.h"
#include "support/WindowHandle.h"

#include <QString>
#include <QStringList>

namespace support {

// Beeps, then shows one informational alert whose message and informative
// texts are both looked up with LocalizedString. A text given arguments is a
// format: it is looked up first and then filled with them (fillFormat), so
// that "%d of the files could not be exported." finds its translation; a text
// without arguments is shown as looked up, never used as a format. A sheet on
// parentWindow when one is given (returns at once), else application-modal
// (returns after OK). Callers with nothing to add pass " " or the empty text
// as informative.
void doAlert(AlertPresenter& alerts, const QString& message, const QString& informative,
             WindowHandle* parentWindow, const QStringList& messageArguments = {},
             const QStringList& informativeArguments = {});
// The same for a failure (a file not written, read or renamed), shown as an error.
void doErrorAlert(AlertPresenter& alerts, const QString& message, const QString& informative,
                  WindowHandle* parentWindow, const QStringList& messageArguments = {},
                  const QStringList& informativeArguments = {});

} // namespace support
