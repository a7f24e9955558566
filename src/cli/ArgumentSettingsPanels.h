#pragma once

#include "support/ComponentSettingsPanels.h"

namespace cli {

// The settings panels of the command line: answered with the files its arguments name.
class ArgumentSettingsPanels final : public support::ComponentSettingsPanels {
public:
    ArgumentSettingsPanels(std::optional<std::filesystem::path> saveFile,
                           std::optional<std::filesystem::path> openFile)
        : m_saveFile(std::move(saveFile)), m_openFile(std::move(openFile)) {}

    std::optional<std::filesystem::path> runSaveSettingsPanel(const QString&, const QString&, bool) override {
        return m_saveFile;
    }
    std::optional<std::filesystem::path> runOpenSettingsPanel(const QString&, const QString&,
                                                              const QStringList&) override {
        return m_openFile;
    }

private:
    std::optional<std::filesystem::path> m_saveFile;
    std::optional<std::filesystem::path> m_openFile;
};

} // namespace cli
