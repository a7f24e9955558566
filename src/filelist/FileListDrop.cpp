// What a drop on the file table does to the list: a row drag moves entries,
// dropped files and folders become entries.

#include "filelist/FileList.h"
#include "platform/FileReference.h"
#include "platform/TextOrder.h"
#include "support/FormatText.h"
#include "support/UserDefaults.h"

#include <QFile>
#include <algorithm>
#include <numeric>
#include <system_error>

namespace filelist {

namespace {

// Moves the element at `from` by `distance` places, shifting those between;
// a target outside the vector, or no distance, leaves it as it is.
template <class T> void moveElement(std::vector<T>& elements, int from, int distance) {
    const int to = from + distance;
    const int size = static_cast<int>(elements.size());
    if (distance == 0 || from < 0 || from >= size || to < 0 || to >= size)
        return;
    const auto first = elements.begin();
    if (from < to)
        std::rotate(first + from, first + from + 1, first + to + 1);
    else
        std::rotate(first + to, first + from, first + from + 1);
}

} // namespace

std::vector<int> FileList::moveRows(std::vector<int> rows, int dropRow) {
    std::erase_if(rows, [this](int row) { return row < 0 || row >= count(); });
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (rows.empty())
        return {};

    // Where each entry came from, moved alongside, so the moved entries are
    // found again even when the list holds the same file twice.
    std::vector<int> origin(m_movies.size());
    std::iota(origin.begin(), origin.end(), 0);
    const std::vector<int> moved = rows;

    const int target = rows.front() < dropRow ? dropRow - 1 : dropRow;
    const int distance = target - rows.front();
    while (!rows.empty()) {
        const int from = rows.front();
        moveElement(m_movies, from, distance);
        moveElement(origin, from, distance);
        rows.erase(rows.begin());
        for (int& row : rows)
            if (row <= target)
                --row;
    }

    std::vector<int> selection;
    for (int row = 0; row < count(); ++row)
        if (std::binary_search(moved.begin(), moved.end(), origin[static_cast<std::size_t>(row)]))
            selection.push_back(row);
    m_outlets.movieTable->reloadData();
    return selection;
}

bool FileList::processDroppedFiles(std::vector<std::filesystem::path> names, int row) {
    m_outlets.spinner->setHidden(false);
    m_outlets.spinner->startAnimation();

    const int total = static_cast<int>(names.size());
    if (total > 0 && m_defaults.boolValue(support::Pref::ClearListWhenAddingFiles)) {
        clearAll();
        row = 0;
    }
    platform::stableSortInTextOrder(
        names, [](const std::filesystem::path& path) { return QFile::decodeName(path.c_str()); });

    // Each file goes in at the same row from the last name to the first, so
    // the files stand from that row on in ascending text order.
    bool added = false;
    int visited = 0;
    for (auto name = names.rbegin(); name != names.rend(); ++name) {
        ++visited;
        showMessage(support::fillFormat("Processing file %d of %d",
                                        {QString::number(visited), QString::number(total)}));
        std::error_code error;
        const auto status = std::filesystem::status(*name, error);
        if (name->empty() || error || !std::filesystem::exists(status))
            continue;
        const bool isFolder = std::filesystem::is_directory(status);
        if (isFolder) {
            added = addDirectoryItems(*name);
            m_outlets.movieTable->reloadData();
            if (!added)
                continue;
        } else {
            const QByteArray reference = platform::getAlias(*name);
            if (reference.isEmpty())
                continue;
            joinClip(reference, std::clamp(row, 0, count()), std::nullopt);
            m_outlets.movieTable->reloadData();
            added = true;
        }
        if (m_services.makeDefaultFilename)
            m_services.makeDefaultFilename(*name, isFolder);
    }

    m_outlets.spinner->setHidden(true);
    m_outlets.spinner->stopAnimation();
    return added;
}

} // namespace filelist
