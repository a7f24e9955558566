#pragma once

#include <csignal>

namespace cli {

// Catches the first SIGINT (Ctrl-C) while it lives, as a request to cancel
// the work under way (see takeInterrupt); a second one ends the program,
// removing the files it was writing. It puts the previous handling back when
// it goes.
class InterruptGuard final {
public:
    InterruptGuard();
    ~InterruptGuard();
    InterruptGuard(const InterruptGuard&) = delete;
    InterruptGuard& operator=(const InterruptGuard&) = delete;

    // Whether a Ctrl-C arrived since the last call.
    [[nodiscard]] static bool takeInterrupt();

private:
    struct sigaction m_previous {};
};

} // namespace cli
