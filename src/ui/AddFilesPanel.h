#pragma once

#include <QFileDialog>
#include <QSortFilterProxyModel>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace ui {

// Shows in a panel that picks one movie only what can be one (folders,
// movies, pictures and sound files). Each file is judged once while the
// panel is open: judging opens the file. (Add Files shows every file.)
class AddFilesFilter final : public QSortFilterProxyModel {
    Q_OBJECT
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    mutable std::unordered_map<std::string, bool> m_judged;
};

// The browse panel: "Choose files", confirmed with "Choose", several files
// and folders at once. Every file is shown (the list says afterwards which
// it could not take and why). Answers the names typed into the name field
// and the rows selected in the folder's view, each once, or none when the
// user cancels.
std::optional<std::vector<std::filesystem::path>> chooseFilesAndFolders(QWidget& parent);

// The panel that picks the one movie a tool window works on: "Choose file",
// confirmed with "Choose", showing what can be a movie. Answers the file, or
// none when the user cancels.
std::optional<std::filesystem::path> chooseMovie(QWidget& parent);

// The file a path from the panel names. Qt's panel holds names as text, so
// a name that is not UTF-8 comes back changed; its file is found again by
// the name it shows.
std::filesystem::path fileOfPanelName(const QString& path);

// The names in the panel's name field: several as "a.mov" "b.mov" (as the
// panel writes a selection), else the whole text as one name.
QStringList typedNames(const QString& text);

} // namespace ui
