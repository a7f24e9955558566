// The list's orderings and edits, through FileList::changeEntries.

#include "filelist/ListEdits.h"

#include "filelist/FileList.h"

#include <algorithm>
#include <numeric>

namespace filelist {

void sortBy(FileList& list, SortKey key) {
    list.changeEntries([key](std::vector<MovieEntry>& entries) { sortEntries(entries, key); });
}

void reverseList(FileList& list) {
    list.changeEntries([](std::vector<MovieEntry>& entries) { std::reverse(entries.begin(), entries.end()); });
}

std::vector<int> moveRows(FileList& list, std::vector<int> rows, int dropRow) {
    std::erase_if(rows, [&list](int row) { return row < 0 || row >= list.count(); });
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (rows.empty())
        return {};
    dropRow = std::clamp(dropRow, 0, list.count());

    // The dragged entries leave the list as one block, in list order, and go
    // back in where the drop was, counted among the entries that stayed.
    int insertAt = 0;
    list.changeEntries([&](std::vector<MovieEntry>& entries) {
        std::vector<MovieEntry> block;
        std::vector<MovieEntry> stayed;
        block.reserve(rows.size());
        stayed.reserve(entries.size() - rows.size());
        for (int row = 0; row < static_cast<int>(entries.size()); ++row) {
            MovieEntry& entry = entries[static_cast<std::size_t>(row)];
            if (std::binary_search(rows.begin(), rows.end(), row)) {
                block.push_back(std::move(entry));
            } else {
                if (row < dropRow)
                    ++insertAt;
                stayed.push_back(std::move(entry));
            }
        }
        stayed.insert(stayed.begin() + insertAt, std::make_move_iterator(block.begin()),
                      std::make_move_iterator(block.end()));
        entries = std::move(stayed);
    });
    std::vector<int> selection(rows.size());
    std::iota(selection.begin(), selection.end(), insertAt);
    return selection;
}

void setTitle(FileList& list, int index, const QString& title) {
    if (index < 0 || index >= list.count())
        return;
    list.changeEntries([&](std::vector<MovieEntry>& entries) { entries[static_cast<std::size_t>(index)].title = title; });
}

void clearAll(FileList& list) {
    std::vector<int> rows(static_cast<std::size_t>(list.count()));
    std::iota(rows.begin(), rows.end(), 0);
    list.removeRows(std::move(rows));
}

} // namespace filelist
