#include "filelist/EntrySort.h"

#include "filelist/EntryValues.h"
#include "platform/TextOrder.h"

#include <algorithm>
#include <numeric>
#include <optional>

namespace filelist {

namespace {

const char* keyName(SortKey key) {
    switch (key) {
    case SortKey::ModificationDate:
        return EntryKey::modificationDate;
    case SortKey::CreationDate:
        return EntryKey::creationDate;
    case SortKey::ExifDate:
        return EntryKey::exifDate;
    case SortKey::Title:
        return EntryKey::title;
    case SortKey::Name:
        return EntryKey::alias;
    }
    return EntryKey::title;
}

// Stable-sorts entries by value(entry), an optional; `less` orders two present
// values; absent values go last.
template <class Value, class Less>
void sortByValue(std::vector<MovieEntry>& entries, Value value, Less less) {
    using Taken = decltype(value(entries.front()));
    std::vector<Taken> values;
    values.reserve(entries.size());
    for (const MovieEntry& entry : entries)
        values.push_back(value(entry));
    std::vector<std::size_t> order(entries.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const Taken& left = values[a];
        const Taken& right = values[b];
        if (!left || !right)
            return left.has_value() && !right.has_value();
        return less(*left, *right);
    });
    std::vector<MovieEntry> sorted;
    sorted.reserve(entries.size());
    for (std::size_t index : order)
        sorted.push_back(std::move(entries[index]));
    entries = std::move(sorted);
}

} // namespace

void sortEntries(std::vector<MovieEntry>& entries, SortKey key) {
    if (entries.size() < 2)
        return;
    const char* name = keyName(key);
    if (key == SortKey::Title || key == SortKey::Name) {
        sortByValue(
            entries, [name](const MovieEntry& entry) { return textValue(entry, name); },
            [](const QString& a, const QString& b) { return platform::compareInTextOrder(a, b) < 0; });
    } else {
        sortByValue(
            entries, [name](const MovieEntry& entry) { return dateValue(entry, name); },
            [](std::chrono::nanoseconds a, std::chrono::nanoseconds b) { return a < b; });
    }
}

} // namespace filelist
