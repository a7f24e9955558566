#pragma once

#include "CallLog.h"
#include "support/EventPump.h"

#include <functional>
#include <utility>

namespace testing_support {

// Counts the times the logic let pending drawing show or handled pending
// input; a test may queue a user action (a click) that runs at the next
// processPendingEvents, as the real event loop would run it.
class RecordingEventPump final : public support::EventPump {
public:
    explicit RecordingEventPump(CallLog* log = nullptr) : m_log(log) {}
    void processPendingDrawing() override {
        ++m_pumpCount;
        if (m_log)
            m_log->push_back("processPendingDrawing");
    }
    void processPendingEvents() override {
        ++m_eventCount;
        if (m_log)
            m_log->push_back("processPendingEvents");
        if (m_action && m_eventCount == m_actionAt)
            std::exchange(m_action, nullptr)();
    }
    // Runs `action` at the n-th call of processPendingEvents from now (1: the next).
    void queueUserAction(int n, std::function<void()> action) {
        m_actionAt = m_eventCount + n;
        m_action = std::move(action);
    }
    int pumpCount() const { return m_pumpCount; }
    int eventCount() const { return m_eventCount; }

private:
    CallLog* m_log;
    int m_pumpCount = 0;
    int m_eventCount = 0;
    int m_actionAt = 0;
    std::function<void()> m_action;
};

} // namespace testing_support
