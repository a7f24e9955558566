#include "platform/ApplicationDockTile.h"

#include <QGuiApplication>
#include <QPixmap>

namespace platform {

namespace {

bool isGuiApplication() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

} // namespace

QImage ApplicationDockTile::applicationIcon() {
    if (!isGuiApplication())
        return {};
    // Taken afresh until one is found, so an icon set late is still used.
    const QIcon icon = m_applicationIcon.value_or(QGuiApplication::windowIcon());
    if (icon.isNull())
        return {};
    return icon.pixmap(QSize(127, 127)).toImage();
}

void ApplicationDockTile::showProgress(const QImage& tile, double fraction) {
    if (isGuiApplication() && !tile.isNull()) {
        if (!m_applicationIcon)
            m_applicationIcon = QGuiApplication::windowIcon();
        QGuiApplication::setWindowIcon(QIcon(QPixmap::fromImage(tile)));
    }
    m_taskbar.show(fraction);
}

void ApplicationDockTile::restore() {
    if (isGuiApplication() && m_applicationIcon) {
        QGuiApplication::setWindowIcon(*m_applicationIcon);
        m_applicationIcon.reset();
    }
    m_taskbar.hide();
}

} // namespace platform
