#pragma once

#include <QImage>
#include <QWidget>

namespace ui {

// Shows one picture of a movie, scaled to fit and keeping its aspect ratio,
// on white: the filter window's view of the filtered frames.
class MoviePicture final : public QWidget {
    Q_OBJECT
public:
    explicit MoviePicture(QWidget* parent = nullptr);
    void setPicture(const QImage& picture);
    const QImage& picture() const { return m_picture; }
    // Where the picture is drawn, in the widget's coordinates.
    QRect pictureRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_picture;
};

} // namespace ui
