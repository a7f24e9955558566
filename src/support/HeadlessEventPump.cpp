#include "support/HeadlessEventPump.h"

#include <ostream>

namespace support {

HeadlessEventPump::HeadlessEventPump(std::ostream& out) : m_out(out) {}

void HeadlessEventPump::processPendingDrawing() {
    m_out.flush();
}

} // namespace support
