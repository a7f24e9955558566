#pragma once

#include "filelist/EntrySort.h"

#include <QString>
#include <vector>

namespace filelist {

class FileList;

// The list's orderings and edits, each over every entry and each ending with
// the list's changed(). Nothing else changes: not the selected row numbers,
// the controls or the total-duration line.
void sortBy(FileList& list, SortKey key);
void reverseList(FileList& list);
// Moves the entries at `rows` (a row drag) together, in their list order,
// to where the drop was: just above the entry that stood at `dropRow` (or at
// the end). Answers the rows that now hold the moved entries.
std::vector<int> moveRows(FileList& list, std::vector<int> rows, int dropRow);
void setTitle(FileList& list, int index, const QString& title);
// Removes every entry.
void clearAll(FileList& list);

} // namespace filelist
