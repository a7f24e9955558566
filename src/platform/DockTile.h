#pragma once

#include <QImage>

namespace platform {

// The application's tile on the desktop, which shows the progress of long
// work: the window icon with a progress pie painted over it, and the taskbar
// entry's progress where the desktop has one.
class DockTile {
public:
    virtual ~DockTile() = default;
    // The application icon the pie is painted over; null when none is available.
    virtual QImage applicationIcon() = 0;
    // Shows tile (the icon with the pie) and fraction done (0 to 1).
    virtual void showProgress(const QImage& tile, double fraction) = 0;
    // Back to the application's own icon, with no progress shown.
    virtual void restore() = 0;
};

} // namespace platform
