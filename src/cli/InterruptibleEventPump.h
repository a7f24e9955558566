#pragma once

#include "support/EventPump.h"

#include <csignal>
#include <functional>
#include <iosfwd>

namespace cli {

// The event pump of the command line: pending output is flushed, and an
// interrupt (Ctrl-C) that arrived while an InterruptGuard was in place counts
// as a click on Cancel: the next pump runs the cancel action, so a write stops
// cleanly and leaves no half-written file behind.
class InterruptibleEventPump final : public support::EventPump {
public:
    explicit InterruptibleEventPump(std::ostream& out) : m_out(out) {}

    void processPendingDrawing() override;
    void processPendingEvents() override;
    void setCancelAction(std::function<void()> cancel) { m_cancel = std::move(cancel); }

private:
    std::ostream& m_out;
    std::function<void()> m_cancel;
};

// Catches the first SIGINT while it lives (a second one ends the program,
// removing the files it was writing) and puts the previous handling back
// when it goes.
class InterruptGuard final {
public:
    InterruptGuard();
    ~InterruptGuard();
    InterruptGuard(const InterruptGuard&) = delete;
    InterruptGuard& operator=(const InterruptGuard&) = delete;

private:
    struct sigaction m_previous {};
};

} // namespace cli
