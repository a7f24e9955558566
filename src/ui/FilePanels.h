#pragma once

#include "support/OpenPanel.h"
#include "support/SavePanel.h"

class QFileDialog;
class QWidget;

// The file dialogs of the desktop behind the logic's panel ports. Each is
// window-modal on the window given (a sheet) and returns the user's answer.
namespace ui {

class SavePanelDialog final : public support::SavePanel {
public:
    explicit SavePanelDialog(QWidget& window) : m_window(window) {}
    std::optional<std::filesystem::path>
    runSavePanel(const std::optional<std::filesystem::path>& startFolder, const QString& suggestedName,
                 const std::optional<QString>& requiredExtension) override;

private:
    QWidget& m_window;
};

class OpenPanelDialog final : public support::OpenPanel {
public:
    explicit OpenPanelDialog(QWidget& window) : m_window(window) {}
    std::optional<std::filesystem::path> runOpenPanel(const QString& title, const QString& prompt,
                                                      const QStringList& extensions) override;

private:
    QWidget& m_window;
};

// A save panel's answer with the required extension (".mov") ensured: a
// name that does not end in it, in any letter case, gets it appended.
QString withRequiredExtension(const QString& path, const std::optional<QString>& requiredExtension);

// The file an accepted save dialog chose, with the required extension
// ensured. The dialog asked about replacing the name it was given, not the one
// with the extension added: when that one exists, the user is asked here, and
// none is answered unless they choose to replace it.
std::optional<QString> confirmedSavePath(QFileDialog& dialog, const std::optional<QString>& requiredExtension);

} // namespace ui
