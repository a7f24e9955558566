#include "ui/ApplicationIcon.h"

namespace ui {

QIcon applicationIcon() {
    QIcon builtIn;
    for (const int size : {16, 24, 32, 48, 64, 128, 256, 512})
        builtIn.addFile(QStringLiteral(":/icons/joinclip-%1.png").arg(size), QSize(size, size));
    return QIcon::fromTheme(QStringLiteral("joinclip"), builtIn);
}

} // namespace ui
