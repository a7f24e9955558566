#pragma once

#include <QDBusMessage>

namespace platform {

// The progress shown on the application's taskbar or dock entry, through the
// com.canonical.Unity.LauncherEntry D-Bus signal that KDE Plasma, Dash to
// Dock and others read. Without a session bus (the command line over ssh,
// tests, CI) nothing is sent and nothing is started: the bus is used only
// when the session names one and an application object exists.
class TaskbarProgress final {
public:
    static constexpr const char* kApplicationUri = "application://joinclip.desktop";

    // The Update signal: the application's URI and the properties "progress"
    // (0 to 1) and "progress-visible".
    static QDBusMessage updateMessage(double fraction, bool visible);

    // Shows fraction done. Repeats of what is shown already (to the whole
    // percent) are not sent again, so a write's many updates do not flood the bus.
    void show(double fraction);
    // Hides the progress, when any was shown.
    void hide();

    // Whether a session bus is there to send to.
    static bool sessionBusAvailable();

private:
    void send(double fraction, bool visible);

    int m_shownPercent = -1; // -1: hidden
};

} // namespace platform
