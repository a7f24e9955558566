#include "platform/TaskbarProgress.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QFileInfo>
#include <QVariantMap>
#include <algorithm>
#include <cmath>

namespace platform {

namespace {

constexpr const char* kObjectPath = "/com/canonical/unity/launcherentry/joinclip";
constexpr const char* kInterface = "com.canonical.Unity.LauncherEntry";

} // namespace

QDBusMessage TaskbarProgress::updateMessage(double fraction, bool visible) {
    QDBusMessage message = QDBusMessage::createSignal(kObjectPath, kInterface, "Update");
    QVariantMap properties;
    properties.insert("progress", std::isfinite(fraction) ? std::clamp(fraction, 0.0, 1.0) : 0.0);
    properties.insert("progress-visible", visible);
    message << QString::fromLatin1(kApplicationUri) << properties;
    return message;
}

bool TaskbarProgress::sessionBusAvailable() {
    // Qt needs its application object for D-Bus, and libdbus would try to
    // launch a bus of its own when the session names none.
    if (QCoreApplication::instance() == nullptr)
        return false;
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo(runtime + "/bus").exists();
}

void TaskbarProgress::show(double fraction) {
    const int percent = std::isfinite(fraction) ? static_cast<int>(std::clamp(fraction, 0.0, 1.0) * 100) : 0;
    if (percent == m_shownPercent)
        return;
    m_shownPercent = percent;
    send(percent / 100.0, true);
}

void TaskbarProgress::hide() {
    if (m_shownPercent < 0)
        return; // nothing shown, nothing to hide
    m_shownPercent = -1;
    send(0, false);
}

void TaskbarProgress::send(double fraction, bool visible) {
    if (!sessionBusAvailable())
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected())
        bus.send(updateMessage(fraction, visible));
}

} // namespace platform
