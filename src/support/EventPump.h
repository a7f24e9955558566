#pragma once

namespace support {

// Lets the user interface live while the main thread is busy with long work.
class EventPump {
public:
    virtual ~EventPump() = default;

    // Polls the event queue once without waiting and without taking any
    // input event from it, so that changes made so far are drawn now.
    virtual void processPendingDrawing() = 0;

    // Handles the input events already queued, without waiting for more, so
    // that a click on the progress sheet's Cancel button runs its action
    // (cancelJob) from inside a write's progress callback. The GUI's sheet is
    // window-modal, so no other control of the main window can be used then.
    // Without input to handle it only lets pending drawing show.
    virtual void processPendingEvents() { processPendingDrawing(); }
};

} // namespace support
