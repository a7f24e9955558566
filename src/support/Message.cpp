#include "support/Message.h"

namespace support {

void message(TextControl& messagesTextField, EventPump& pump, const QString& text) {
    messagesTextField.setHidden(false);
    messagesTextField.setText(text);
    pump.processPendingDrawing();
}

} // namespace support
