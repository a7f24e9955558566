#pragma once

#include "app/JoinClipController.h"
#include "join/SettingsFile.h"
#include "support/PopupButton.h"

#include <filesystem>
#include <optional>
#include <ostream>

namespace cli {

// The component menu of the preferences window without a widget, with
// its messages on stderr, for the commands that choose a component.
class HeadlessComponentControls final {
public:
    explicit HeadlessComponentControls(std::ostream& err) : m_err(err) {}

    void attach(app::ExportComponentOutlets& outlets) {
        outlets.componentPopupButton = &m_menu;
    }

    // Selects the component titled `title`; false, said on stderr, when there is none.
    bool select(const app::JoinClipController& controller, const QString& title, const char* command) {
        if (!controller.componentTable().contains(title)) {
            m_err << "joinclip " << command << ": there is no component \"" << title.toStdString()
                  << "\" (joinclip components lists them)\n";
            return false;
        }
        m_menu.selectItemWithTitle(title);
        return true;
    }

    // Exporting through the component titled `title` for this run, with the
    // settings of `settingsFile` when one is given (they replace the stored
    // ones, as loading a settings file does); false, said on stderr, when
    // there is no such component or the file is not a settings file.
    bool exportThrough(app::JoinClipController& controller, const QString& title,
                       const std::optional<std::filesystem::path>& settingsFile, const char* command) {
        if (!select(controller, title, command))
            return false;
        if (settingsFile) {
            auto settings = join::readSettingsFile(*settingsFile);
            if (!settings) {
                m_err << "joinclip " << command << ": " << settingsFile->string()
                      << " is not a settings file\n";
                return false;
            }
            controller.exportSettingsForComponentDictionary() = std::move(*settings);
        }
        controller.defaults().setOverride(support::Pref::Export, true);
        return true;
    }

private:
    support::StoredPopupButton m_menu;
    std::ostream& m_err;
};

} // namespace cli
