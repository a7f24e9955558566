#pragma once

#include "join/ExportSettingsDialog.h"

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

class QFormLayout;
class QLabel;

namespace ui {

// The settings of one export component as a form: a field for each of the
// settings (media::exportSettingsFields), the video ones and the sound ones in
// groups of their own, shown only when the component writes that kind of track.
// OK takes the fields the user changed, each checked by the component's own
// rules (media::setExportSetting); a change it refuses keeps the form open
// and says why.
class ComponentSettingsForm final : public QDialog {
    Q_OBJECT
public:
    ComponentSettingsForm(const media::ExportComponent& component, const media::ExportSettings& current,
                          QWidget* parent = nullptr);

    // The starting settings with every changed field applied, or why one cannot be.
    [[nodiscard]] std::expected<media::ExportSettings, media::Error> editedSettings() const;
    void accept() override;

private:
    struct Field final {
        std::string key;
        std::function<QString()> text; // the field's value in the form setExportSetting reads
        QString initialText;
    };
    void addField(QFormLayout& form, const std::string& key, const std::string& value);

    const media::ExportComponent m_component;
    media::ExportSettings m_current;
    std::vector<Field> m_fields;
    QLabel* m_problem = nullptr;
};

// The export settings dialog of the windows: the form above as a sheet
// (window-modal) on parent.
class DialogExportSettings final : public join::ExportSettingsDialog {
public:
    explicit DialogExportSettings(QWidget& parent) : m_parent(parent) {}

    [[nodiscard]] std::expected<std::optional<media::ExportSettings>, media::Error>
    run(const media::ExportComponent& component, const media::ExportSettings& current) override;

private:
    QWidget& m_parent;
};

} // namespace ui
