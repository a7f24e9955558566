#pragma once

#include <QImage>
#include <QPainterPath>

namespace platform {
class DockTile;
}

namespace join {

// The side of the square the progress pie is drawn in.
inline constexpr double kDockTileSide = 127;

// Whole degrees of the pie: index / count of the items, or percent / 100.
int pieSweepForItem(int index, int count);
int pieSweepForPercent(float percent);

// A sector of the ellipse inscribed in the tile, from 12 o'clock clockwise by
// `sweep` degrees, closed at the centre (y grows downwards, as on screens).
QPainterPath pieSector(int sweep);

// The application icon with the progress pie over it: the whole ellipse in
// black at 25% opacity, the sector at 40%. Without an icon, the pie alone.
QImage dockProgressImage(const QImage& applicationIcon, int sweep);

// Shows the pie of index / count of the items, or of percent / 100, on the
// application's tile over its icon (the pie alone when there is no icon).
void DrawDockProgressForItem(platform::DockTile& tile, int index, int count);
void DrawDockProgressForPercent(platform::DockTile& tile, float percent);

} // namespace join
