#include "ui/DesktopApplication.h"

#include "ui/MainWindow.h"

#include <QApplication>

namespace ui {

int runDesktopApplication(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("JoinClip");
    QApplication::setApplicationVersion(JOINCLIP_VERSION);
    MainWindow window;
    window.show();
    return QApplication::exec();
}

} // namespace ui
