#pragma once

#include "join/ExportSettingsDialog.h"

namespace testing_support {

// The export settings dialog answered from a script (none stands for Cancel);
// it records what it was shown and how often it ran.
class ScriptedSettingsDialog final : public join::ExportSettingsDialog {
public:
    using Answer = std::expected<std::optional<media::ExportSettings>, media::Error>;
    Answer run(const media::ExportComponent&, const media::ExportSettings& current) override {
        ++runs;
        shown = current;
        return answer;
    }
    Answer answer;
    media::ExportSettings shown;
    int runs = 0;
};

} // namespace testing_support
