#include "cli/InterruptGuard.h"

#include "media/FilesInProgress.h"


namespace cli {

namespace {

volatile std::sig_atomic_t gInterrupted = 0;
volatile std::sig_atomic_t gInterruptCount = 0;

// The first Ctrl-C is noted for takeInterrupt(); a second one ends the process
// (removing the files being written), however far the cancel has got.
void noteInterrupt(int signal) {
    gInterruptCount = gInterruptCount + 1;
    if (gInterruptCount > 1)
        media::endBySignal(signal);
    gInterrupted = 1;
}

} // namespace

bool InterruptGuard::takeInterrupt() {
    if (gInterrupted == 0)
        return false;
    gInterrupted = 0;
    return true;
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
