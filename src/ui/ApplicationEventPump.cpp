#include "ui/ApplicationEventPump.h"

#include <QCoreApplication>

namespace ui {

void ApplicationEventPump::processPendingDrawing() {
    ++m_depth;
    // Input stays queued: the work under way is not interrupted by clicks or keys.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    --m_depth;
}

} // namespace ui
