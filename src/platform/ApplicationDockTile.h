#pragma once

#include "platform/DockTile.h"
#include "platform/TaskbarProgress.h"

#include <QIcon>
#include <optional>

namespace platform {

// The GUI's tile: the progress pie replaces the application's window icon
// while work runs, and the taskbar entry shows the same fraction. Without a
// QGuiApplication the icon is left alone.
class ApplicationDockTile final : public DockTile {
public:
    QImage applicationIcon() override;
    void showProgress(const QImage& tile, double fraction) override;
    void restore() override;

private:
    // The icon the application had before the first pie, put back by restore().
    std::optional<QIcon> m_applicationIcon;
    TaskbarProgress m_taskbar;
};

} // namespace platform
