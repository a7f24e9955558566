#pragma once

#include "media/Error.h"
#include "media/ExportComponent.h"

#include <expected>
#include <optional>

namespace join {

// The settings dialog of an export component, run modally: the GUI shows a
// dialog, the command line answers from its arguments, tests from a script.
class ExportSettingsDialog {
public:
    virtual ~ExportSettingsDialog() = default;
    // The edited settings, none when the user cancelled, or why the dialog
    // could not be run.
    [[nodiscard]] virtual std::expected<std::optional<media::ExportSettings>, media::Error>
    run(const media::ExportComponent& component, const media::ExportSettings& current) = 0;
};

} // namespace join
