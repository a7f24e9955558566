// Ctrl-C on the command line is the progress sheet's Cancel.

#include "cli/InterruptibleEventPump.h"

#include <csignal>
#include <gtest/gtest.h>
#include <sstream>

namespace {

TEST(InterruptibleEventPumpTest, AnInterruptCancelsOnceAtTheNextPump) {
    std::ostringstream out;
    cli::InterruptibleEventPump pump(out);
    int cancels = 0;
    pump.setCancelAction([&] { ++cancels; });
    {
        const cli::InterruptGuard guard;
        pump.processPendingEvents();
        EXPECT_EQ(cancels, 0);
        ASSERT_EQ(std::raise(SIGINT), 0) << "caught, the test goes on";
        EXPECT_EQ(cancels, 0) << "nothing runs inside the signal handler";
        pump.processPendingDrawing();
        EXPECT_EQ(cancels, 0) << "only handling input cancels";
        pump.processPendingEvents();
        EXPECT_EQ(cancels, 1);
        pump.processPendingEvents();
        EXPECT_EQ(cancels, 1);
    }
    // The previous handling is back: a new guard starts with nothing pending.
    const cli::InterruptGuard again;
    pump.processPendingEvents();
    EXPECT_EQ(cancels, 1);
}

} // namespace
