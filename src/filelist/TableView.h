#pragma once

#include <vector>

namespace filelist {

// The file table as the list logic sees it.
class TableView {
public:
    virtual ~TableView() = default;
    virtual void reloadData() = 0;
    // The selected rows, ascending.
    virtual std::vector<int> selectedRows() const = 0;
};

// A table with no widget behind it: the command line's, and the tests'.
class StoredTableView final : public TableView {
public:
    void reloadData() override { ++m_reloads; }
    std::vector<int> selectedRows() const override { return m_selection; }
    void setSelectedRows(std::vector<int> rows) { m_selection = std::move(rows); }
    int reloadCount() const { return m_reloads; }

private:
    std::vector<int> m_selection;
    int m_reloads = 0;
};

} // namespace filelist
