// What a drop on the file table does to the list: a row drag moves entries,
// dropped files and folders become entries.

#include "filelist/FileList.h"
#include "platform/FileReference.h"
#include "platform/TextOrder.h"
#include "support/FormatText.h"
#include "support/LocalizedString.h"
#include "support/UserDefaults.h"

#include <QFile>
#include <algorithm>
#include <numeric>
#include <system_error>

namespace filelist {

std::vector<int> FileList::moveRows(std::vector<int> rows, int dropRow) {
    std::erase_if(rows, [this](int row) { return row < 0 || row >= count(); });
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (rows.empty())
        return {};
    dropRow = std::clamp(dropRow, 0, count());

    // The dragged entries leave the list as one block, in list order, and go
    // back in where the drop was, counted among the entries that stayed.
    std::vector<MovieEntry> block;
    std::vector<MovieEntry> stayed;
    block.reserve(rows.size());
    stayed.reserve(m_movies.size() - rows.size());
    int insertAt = 0;
    for (int row = 0; row < count(); ++row) {
        MovieEntry& entry = m_movies[static_cast<std::size_t>(row)];
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
    m_movies = std::move(stayed);

    std::vector<int> selection(rows.size());
    std::iota(selection.begin(), selection.end(), insertAt);
    emit changed();
    return selection;
}

bool FileList::processDroppedFiles(std::vector<std::filesystem::path> names, int row) {
    m_leftOut.clear();
    emit busyChanged(true);

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
        emit statusChanged(support::fillFormat("Processing file %d of %d",
                                        {QString::number(visited), QString::number(total)}));
        std::error_code error;
        const auto status = std::filesystem::status(*name, error);
        if (name->empty() || error || !std::filesystem::exists(status)) {
            m_leftOut.push_back({*name, support::LocalizedString("The file cannot be found.")});
            continue;
        }
        const bool isFolder = std::filesystem::is_directory(status);
        const bool taken = isFolder ? addDirectoryItems(*name) : addFile(*name, std::clamp(row, 0, count()));
        emit changed();
        if (!taken)
            continue;
        added = true;
        nameOutputAfter(*name, isFolder);
    }

    emit busyChanged(false);
    return added;
}

} // namespace filelist
