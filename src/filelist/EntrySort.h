#pragma once

#include "filelist/MovieEntry.h"

#include <vector>

namespace filelist {

// What the list can be sorted by.
enum class SortKey {
    ModificationDate, // "modification date", oldest first
    CreationDate,     // "creation date", oldest first
    ExifDate,         // "exif date", oldest first
    Title,            // "title" in text order
    Name,             // the file's full path in text order: folder first, then name
};

// Sorts the entries in ascending order of their value under key (see
// EntryValues.h); text values compare in text order (platform::
// compareInTextOrder), dates as instants to the second.
// Entries without a value (no EXIF date, a date text that does not read
// back, a file that cannot be found) go after all the others. Counting them
// equal to every entry instead would make the order inconsistent (a < b,
// b "equal" to c, c < a), which no sort can honour. The sort is stable:
// entries with equal values, and those without a value, keep their order.
// Each value is taken once per entry, not once per comparison.
void sortEntries(std::vector<MovieEntry>& entries, SortKey key);

} // namespace filelist
