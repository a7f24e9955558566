#pragma once

// What the ui tests share: one widget application, finding a window's
// widgets, and answering the modal dialogs that actions open.

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>

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

// The widget of `Widget`'s type with that object name; fails the test without one.
template <typename Widget> Widget& child(QWidget& window, const char* name) {
    auto* widget = window.findChild<Widget*>(name);
    if (!widget)
        throw std::runtime_error(std::string("no widget named ") + name);
    return *widget;
}

// Runs the event loop until done() holds; the test runner's own limit ends a test that never gets there.
// Waits asleep in the event loop, as the application does; a timer wakes it
// for conditions that change without an event of this thread.
template <class Condition> void runEventsUntil(Condition done) {
    QTimer wake;
    wake.start(10);
    while (!done())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

// Every control of window in view (one that takes focus, a label, or one that
// alsoCheck names) has a name for assistive tools.
inline void expectEveryControlNamed(QWidget& window, const std::function<bool(QWidget*)>& alsoCheck = {}) {
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(&window) ||
            (!widget->focusPolicy() && !qobject_cast<QLabel*>(widget) && !(alsoCheck && alsoCheck(widget))))
            continue;
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
        ASSERT_NE(accessible, nullptr);
        if (accessible->role() != QAccessible::Client && accessible->role() != QAccessible::ScrollBar) {
            EXPECT_FALSE(accessible->text(QAccessible::Name).isEmpty()) << widget->objectName().toStdString();
        }
    }
}

// Runs answer on the modal dialog that the next action opens, once it is shown.
inline void whenModalShown(std::function<void(QWidget&)> answer) {
    QTimer::singleShot(0, [answer = std::move(answer)] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        answer(*modal);
    });
}

} // namespace testing_support
