#include "RecordingEventPump.h"

namespace testing_support {

void RecordingEventPump::processPendingDrawing() {
    ++m_pumpCount;
    if (m_log) {
        m_log->push_back("processPendingDrawing");
    }
}

} // namespace testing_support
