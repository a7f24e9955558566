// Whether exporting has a component to go through.

#include "app/JoinClipController.h"
#include "app/CommandRequests.h"
#include "support/DoAlert.h"

namespace app {

bool JoinClipController::checkComponentSelected() {
    if (m_outputFormat.selected())
        return true;
    const Refusal refusal = noComponentRefusal();
    doAlert(refusal.message, refusal.informative, m_outlets.join.fileListWindow);
    return false;
}

} // namespace app
