#pragma once

#include <algorithm>
#include <vector>

namespace support {

// Removes the items at rows (a table's selection): in any order, a row given
// twice is removed once, and rows out of range are passed over.
template <class Item> void eraseRows(std::vector<Item>& items, std::vector<int> rows) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    for (auto row = rows.rbegin(); row != rows.rend(); ++row)
        if (*row >= 0 && *row < static_cast<int>(items.size()))
            items.erase(items.begin() + *row);
}

} // namespace support
