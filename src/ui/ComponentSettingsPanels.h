#pragma once

#include "support/ComponentSettingsPanels.h"

class QWidget;

namespace ui {

// The file panels of the export settings commands: a save and an open dialog
// for settings files, shown as sheets (window-modal) on parent.
class DialogComponentSettingsPanels final : public support::ComponentSettingsPanels {
public:
    explicit DialogComponentSettingsPanels(QWidget& parent) : m_parent(parent) {}

    std::optional<std::filesystem::path> runSaveSettingsPanel(const QString& requiredFileType,
                                                              const QString& suggestedName,
                                                              bool canHideExtension) override;
    std::optional<std::filesystem::path> runOpenSettingsPanel(const QString& title, const QString& prompt,
                                                              const QStringList& fileTypes) override;

private:
    QWidget& m_parent;
};

} // namespace ui
