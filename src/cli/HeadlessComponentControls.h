#pragma once

#include "app/JoinClipController.h"
#include "support/PopupButton.h"

#include <ostream>

namespace cli {

// The component menu of the preferences window without a widget, with
// console messages on stderr, for the commands that choose a component.
class HeadlessComponentControls final {
public:
    explicit HeadlessComponentControls(std::ostream& err) : m_err(err) {}

    void attach(app::ExportComponentPorts& ports) {
        ports.componentPopupButton = &m_menu;
        ports.console = &m_err;
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

private:
    support::StoredPopupButton m_menu;
    std::ostream& m_err;
};

} // namespace cli
