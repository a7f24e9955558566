#pragma once

#include "CallLog.h"
#include "support/EventPump.h"

namespace testing_support {

// Counts the times the logic let pending drawing show.
class RecordingEventPump final : public support::EventPump {
public:
    explicit RecordingEventPump(CallLog* log = nullptr) : m_log(log) {}

    void processPendingDrawing() override;

    int pumpCount() const { return m_pumpCount; }

private:
    CallLog* m_log;
    int m_pumpCount = 0;
};

} // namespace testing_support
