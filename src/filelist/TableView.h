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

} // namespace filelist
