#pragma once

#include "app/ViewerWindow.h"

#include <QWidget>

namespace ui {

// Stands in for the viewer window (viewerWindow) until the viewer is built:
// a window titled as the viewer that says it is not there yet. It takes part
// in the lifecycle like the real one ("ViewerDisplayed" is saved and
// restored), so nothing changes for the user's preferences when it arrives.
class ViewerPlaceholder final : public QWidget, public app::ViewerWindow {
    Q_OBJECT
public:
    explicit ViewerPlaceholder(QWidget* parent = nullptr);

    bool isVisible() const override { return QWidget::isVisible(); }
    void makeKeyAndOrderFront() override;
};

} // namespace ui
