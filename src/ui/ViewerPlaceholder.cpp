#include "ui/ViewerPlaceholder.h"

#include <QLabel>
#include <QVBoxLayout>

namespace ui {

ViewerPlaceholder::ViewerPlaceholder(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("viewerWindow");
    setWindowTitle(tr("Viewer"));
    auto* note =
        new QLabel(tr("The viewer is not part of this version of JoinClip yet.\n"
                      "It will play, step through and save frames of the movie selected in the list."),
                   this);
    note->setObjectName("viewerPlaceholderNote");
    note->setAlignment(Qt::AlignCenter);
    note->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(note);
    resize(480, 300);
}

void ViewerPlaceholder::makeKeyAndOrderFront() {
    show();
    raise();
    activateWindow();
}

} // namespace ui
