#pragma once

#include "join/ExportSettingsDialog.h"
#include "media/ExportComponent.h"
#include "support/ComponentSettingsPanels.h"
#include "support/WindowHandle.h"

#include <vector>

namespace app {

// What the export settings commands of the preferences window use. Any
// pointer may be left unset: the command that needs it then does nothing.
struct ExportComponentOutlets final {
    support::WindowHandle* preferencesWindow = nullptr;
    support::ComponentSettingsPanels* panels = nullptr;
    join::ExportSettingsDialog* settingsDialog = nullptr;
    // The components to offer; unset: those this build of FFmpeg can write.
    const std::vector<media::ExportComponent>* availableComponents = nullptr;
};

} // namespace app
