#pragma once

#include <QCoreApplication>

namespace nettest {

// One application object for the whole test program: event loops need one.
inline void ensureCoreApplication() {
    static int argc = 1;
    static char name[] = "joinclip-net-tests";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv);
}

} // namespace nettest
