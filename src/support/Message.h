#pragma once

#include "support/EventPump.h"
#include "support/TextControl.h"

#include <QString>

namespace support {

// Shows text in the status line: makes messagesTextField visible, sets its
// text unchanged (callers pass a text already looked up, or one shown in
// English) and pumps once, so the line is readable while the caller goes on
// with long work on the main thread.
void message(TextControl& messagesTextField, EventPump& pump, const QString& text);

} // namespace support
