#include "ui/FileTable.h"

#include "app/JoinClipController.h"

#include <QItemSelectionModel>
#include <QTableView>
#include <algorithm>

namespace ui {

struct FileTable::State {
    app::JoinClipController* controller = nullptr;
};

FileTable::FileTable(QTableView& view) : m_view(view), m_state(std::make_unique<State>()) {}

FileTable::~FileTable() = default;

void FileTable::attach(app::JoinClipController& controller) {
    m_state->controller = &controller;
}

void FileTable::reloadData() {
    m_view.viewport()->update();
}

std::vector<int> FileTable::selectedRows() const {
    std::vector<int> rows;
    if (const auto* selection = m_view.selectionModel())
        for (const QModelIndex& index : selection->selectedRows())
            rows.push_back(index.row());
    std::ranges::sort(rows);
    return rows;
}

void runAddFilesPanel(QWidget&, app::JoinClipController&) {}

} // namespace ui
