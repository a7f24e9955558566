#pragma once

#include <QString>
#include <QStringList>
#include <filesystem>
#include <optional>

class QFileDialog;
class QWidget;

// The desktop's file dialogs for the questions the commands ask. Each is
// window-modal on the window given (a sheet) and answers the user's choice,
// none when they cancelled.
namespace ui {

// Where to save a file: opens on startFolder when there is one, with
// suggestedName filled in. With a required extension (".mov") the answer
// always ends in it; without one the user may type a name that has none.
std::optional<std::filesystem::path> askSavePath(QWidget& window,
                                                 const std::optional<std::filesystem::path>& startFolder,
                                                 const QString& suggestedName,
                                                 const std::optional<QString>& requiredExtension);
// One existing file to open: title heads the dialog and prompt labels its
// confirm button; only files whose extension (without the dot) is among
// extensions are offered.
std::optional<std::filesystem::path> askOpenPath(QWidget& window, const QString& title, const QString& prompt,
                                                 const QStringList& extensions);

// A save panel's answer with the required extension (".mov") ensured: a
// name that does not end in it, in any letter case, gets it appended.
QString withRequiredExtension(const QString& path, const std::optional<QString>& requiredExtension);

// The file an accepted save dialog chose, with the required extension
// ensured. The dialog asked about replacing the name it was given, not the one
// with the extension added: when that one exists, the user is asked here, and
// none is answered unless they choose to replace it.
std::optional<QString> confirmedSavePath(QFileDialog& dialog, const std::optional<QString>& requiredExtension);

} // namespace ui
