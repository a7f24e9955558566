#pragma once

#include "join/ExportSettingsDialog.h"

#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace cli {

// The settings dialog of the command line: "pressing OK" applies the given
// KEY=VALUE changes, in order, to the current settings. A change the
// component cannot take is written to `err` and the dialog fails (EINVAL),
// so nothing is stored.
class HeadlessExportSettingsDialog final : public join::ExportSettingsDialog {
public:
    HeadlessExportSettingsDialog(std::vector<std::pair<std::string, std::string>> changes, std::ostream& err)
        : m_changes(std::move(changes)), m_err(err) {}

    [[nodiscard]] std::expected<std::optional<media::ExportSettings>, media::Error>
    run(const media::ExportComponent& component, const media::ExportSettings& current) override;
    // Whether a change was refused.
    bool failed() const { return m_failed; }

private:
    bool m_failed = false;
    std::vector<std::pair<std::string, std::string>> m_changes;
    std::ostream& m_err;
};

} // namespace cli
