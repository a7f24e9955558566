#include "cli/HeadlessExportSettingsDialog.h"

#include <cerrno>

namespace cli {

std::expected<std::optional<media::ExportSettings>, media::Error>
HeadlessExportSettingsDialog::run(const media::ExportComponent& component,
                                  const media::ExportSettings& current) {
    media::ExportSettings edited = current;
    for (const auto& [key, value] : m_changes) {
        if (auto set = media::setExportSetting(component, edited, key, value); !set) {
            m_err << "joinclip: " << set.error().message << "\n";
            m_failed = true;
            return std::unexpected(media::Error{EINVAL, set.error().message});
        }
    }
    return edited;
}

} // namespace cli
