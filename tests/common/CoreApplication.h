#pragma once

#include <QCoreApplication>

namespace testing_support {

// One application object for the whole test program: event loops need one
// (tests of windows make a QApplication instead).
inline void ensureCoreApplication() {
    static int argc = 1;
    static char name[] = "joinclip-tests";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv);
}

} // namespace testing_support
