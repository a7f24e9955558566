#pragma once

#include "filelist/TableView.h"

#include <memory>

class QTableView;
class QWidget;

namespace app {
class JoinClipController;
}

namespace ui {

// The main window's file table: the list's rows in a QTableView, with edits,
// drag and drop, previews and the context menu. Made before the controller
// (which drives it as its movieTable), attached once the controller exists.
class FileTable final : public filelist::TableView {
public:
    explicit FileTable(QTableView& view);
    ~FileTable() override;

    // From now on the table shows the controller's file list and acts through it.
    void attach(app::JoinClipController& controller);

    void reloadData() override;
    std::vector<int> selectedRows() const override;

private:
    struct State;
    QTableView& m_view;
    std::unique_ptr<State> m_state;
};

// The Add command's browse panel: files and folders chosen are added to the
// list as dropped ones are. parent is the window the panel belongs to.
void runAddFilesPanel(QWidget& parent, app::JoinClipController& controller);

} // namespace ui
