#pragma once

#include <QFileDialog>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <optional>
#include <vector>

namespace ui {

// The browse panel: "Choose files", confirmed with "Choose", several files
// and folders at once. Every file is shown (the list says afterwards which
// it could not take and why). Answers the names typed into the name field
// and the rows selected in the folder's view, each once, or none when the
// user cancels.
std::optional<std::vector<std::filesystem::path>> chooseFilesAndFolders(QWidget& parent);

// The names in the panel's name field: several as "a.mov" "b.mov" (as the
// panel writes a selection), else the whole text as one name.
QStringList typedNames(const QString& text);

} // namespace ui
