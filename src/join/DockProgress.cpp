#include "join/DockProgress.h"

#include "platform/DockTile.h"

#include <QPainter>
#include <algorithm>

namespace join {

int pieSweepForItem(int index, int count) {
    if (count <= 0)
        return 0;
    return static_cast<int>(static_cast<float>(index) / static_cast<float>(count) * 360.0f);
}

int pieSweepForPercent(float percent) {
    return static_cast<int>(static_cast<double>(percent * 360.0f) / 100.0);
}

QPainterPath pieSector(int sweep) {
    const QRectF tile(0, 0, kDockTileSide, kDockTileSide);
    QPainterPath path(tile.center());
    // Qt's angles run counter-clockwise from 3 o'clock: 12 o'clock is 90, and a
    // negative sweep runs clockwise.
    path.arcTo(tile, 90, -sweep);
    path.closeSubpath();
    return path;
}

QImage dockProgressImage(const QImage& applicationIcon, int sweep) {
    const int side = static_cast<int>(kDockTileSide);
    QImage tile(side, side, QImage::Format_ARGB32_Premultiplied);
    tile.fill(Qt::transparent);
    QPainter painter(&tile);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!applicationIcon.isNull())
        painter.drawImage(tile.rect(), applicationIcon);
    painter.fillPath(pieSector(360), QColor(0, 0, 0, 64));
    painter.fillPath(pieSector(sweep), QColor(0, 0, 0, 102));
    painter.end();
    return tile;
}

void DrawDockProgressForItem(platform::DockTile& tile, int index, int count) {
    const double fraction = count > 0 ? std::clamp(static_cast<double>(index) / count, 0.0, 1.0) : 0.0;
    tile.showProgress(dockProgressImage(tile.applicationIcon(), pieSweepForItem(index, count)), fraction);
}

void DrawDockProgressForPercent(platform::DockTile& tile, float percent) {
    const double fraction = std::clamp(static_cast<double>(percent) / 100, 0.0, 1.0);
    tile.showProgress(dockProgressImage(tile.applicationIcon(), pieSweepForPercent(percent)), fraction);
}

} // namespace join
