#include "ui/MoviePicture.h"

#include <QPainter>

namespace ui {

MoviePicture::MoviePicture(QWidget* parent) : QWidget(parent) {
    setMinimumSize(160, 120);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void MoviePicture::setPicture(const QImage& picture) {
    m_picture = picture;
    update();
}

QRect MoviePicture::pictureRect() const {
    if (m_picture.isNull())
        return {};
    QSize size = m_picture.size();
    size.scale(this->size(), Qt::KeepAspectRatio);
    return QRect(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
}

void MoviePicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (!m_picture.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(pictureRect(), m_picture);
    }
}

} // namespace ui
