#include "cli/InterruptibleEventPump.h"

#include <ostream>

namespace cli {

namespace {

volatile std::sig_atomic_t gInterrupted = 0;

void noteInterrupt(int) {
    gInterrupted = 1;
}

} // namespace

void InterruptibleEventPump::processPendingDrawing() {
    m_out.flush();
}

void InterruptibleEventPump::processPendingEvents() {
    processPendingDrawing();
    if (gInterrupted != 0) {
        gInterrupted = 0;
        if (m_cancel)
            m_cancel();
    }
}

InterruptGuard::InterruptGuard() {
    gInterrupted = 0;
    struct sigaction action {};
    action.sa_handler = noteInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND; // a second Ctrl-C is not caught
    sigaction(SIGINT, &action, &m_previous);
}

InterruptGuard::~InterruptGuard() {
    sigaction(SIGINT, &m_previous, nullptr);
    gInterrupted = 0;
}

} // namespace cli
