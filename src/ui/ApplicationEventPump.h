#pragma once

#include "support/EventPump.h"

namespace ui {

// Keeps the windows alive while long work runs on the main thread: drawing
// only (the status line during a batch of files), or every queued event (a
// write's progress calls, so that Cancel on the progress sheet works).
class ApplicationEventPump final : public support::EventPump {
public:
    void processPendingDrawing() override;
    void processPendingEvents() override;

    // Whether events are being handled from inside long work right now: what
    // arrives then (files from a second start of the program) waits until
    // the work is over.
    bool isPumping() const { return m_depth > 0; }

private:
    int m_depth = 0;
};

} // namespace ui
