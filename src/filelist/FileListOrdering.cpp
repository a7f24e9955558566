// Sorting and reversing the whole list.

#include "filelist/FileList.h"

#include <algorithm>

namespace filelist {

void FileList::sortBy(SortKey key) {
    sortEntries(m_movies, key);
    emit changed();
}

void FileList::reverseList() {
    std::reverse(m_movies.begin(), m_movies.end());
    emit changed();
}

std::vector<std::filesystem::path> FileList::resolvedPaths() const {
    std::vector<std::filesystem::path> paths;
    paths.reserve(m_movies.size());
    for (int i = 0; i < count(); ++i)
        if (auto path = pathOfEntry(i))
            paths.push_back(std::move(*path));
    return paths;
}

} // namespace filelist
