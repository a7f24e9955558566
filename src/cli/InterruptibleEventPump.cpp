#include "cli/InterruptibleEventPump.h"

#include "media/FilesInProgress.h"

#include <ostream>

namespace cli {

namespace {

volatile std::sig_atomic_t gInterrupted = 0;
volatile std::sig_atomic_t gInterruptCount = 0;

// The first Ctrl-C is noted for the next pump; a second one ends the process
// (removing the files being written), however far the cancel has got.
void noteInterrupt(int signal) {
    gInterruptCount = gInterruptCount + 1;
    if (gInterruptCount > 1)
        media::endBySignal(signal);
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
    gInterruptCount = 0;
    struct sigaction action {};
    action.sa_handler = noteInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &m_previous);
}

InterruptGuard::~InterruptGuard() {
    sigaction(SIGINT, &m_previous, nullptr);
    gInterrupted = 0;
}

} // namespace cli
