// What a drop of files on the file table does to the list: dropped files and
// folders become entries.

#include "filelist/FileList.h"
#include "platform/FileReference.h"
#include "platform/TextOrder.h"
#include "support/FormatText.h"
#include "support/LocalizedString.h"
#include "support/UserDefaults.h"

#include <QFile>
#include <algorithm>
#include <system_error>

namespace filelist {

bool FileList::processDroppedFiles(std::vector<std::filesystem::path> names, int row) {
    m_leftOut.clear();
    emit busyChanged(true);

    const int total = static_cast<int>(names.size());
    if (total > 0 && m_defaults.boolValue(support::Pref::ClearListWhenAddingFiles)) {
        removeAll();
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
