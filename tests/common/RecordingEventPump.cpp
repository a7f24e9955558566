#include "RecordingEventPump.h"

namespace testing_support {

void RecordingEventPump::processPendingDrawing() {
    ++m_pumpCount;
    if (m_log) {
        m_log->push_back("processPendingDrawing");
    }
}

void RecordingEventPump::processPendingEvents() {
    ++m_eventCount;
    if (m_log)
        m_log->push_back("processPendingEvents");
    if (m_action && m_eventCount == m_actionAt) {
        auto action = std::move(m_action);
        m_action = nullptr;
        action();
    }
}

void RecordingEventPump::queueUserAction(int n, std::function<void()> action) {
    m_actionAt = m_eventCount + n;
    m_action = std::move(action);
}

} // namespace testing_support
