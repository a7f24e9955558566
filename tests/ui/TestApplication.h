#pragma once

#include <QApplication>

namespace testing_support {

// One widget application for the whole test program, offscreen unless a
// platform is named. Made before the first fixture that holds widgets.
inline void ensureApplication() {
    static int argc = 1;
    static char name[] = "joinclip-ui-tests";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!QApplication::instance())
        new QApplication(argc, argv);
}

} // namespace testing_support
