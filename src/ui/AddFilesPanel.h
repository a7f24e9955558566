#pragma once

#include <QFileDialog>
#include <QSortFilterProxyModel>
#include <filesystem>
#include <optional>
#include <unordered_map>
#include <vector>

namespace ui {

// Shows in the browse panel only what the list can take (folders, movies,
// pictures and sound files, saved export settings). Each file is judged once
// while the panel is open: judging opens the file.
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
// and folders at once. Answers the chosen paths in the panel's order, or none
// when the user cancels.
std::optional<std::vector<std::filesystem::path>> chooseFilesAndFolders(QWidget& parent);

} // namespace ui
