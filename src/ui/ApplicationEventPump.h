#pragma once

namespace ui {

// Lets the window draw while work runs on its thread (a batch of files
// added): drawing only, input stays queued so the work is not interrupted.
class ApplicationEventPump final {
public:
    void processPendingDrawing();

    // Whether events are being handled from inside such work right now: what
    // arrives then (files from a second start of the program) waits until
    // the work is over.
    bool isPumping() const { return m_depth > 0; }

private:
    int m_depth = 0;
};

} // namespace ui
