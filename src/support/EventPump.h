#pragma once

namespace support {

// Lets a pending redraw show while the main thread is busy with long work.
class EventPump {
public:
    virtual ~EventPump() = default;

    // Polls the event queue once without waiting and without taking any
    // input event from it, so that changes made so far are drawn now.
    virtual void processPendingDrawing() = 0;
};

} // namespace support
