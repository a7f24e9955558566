#include "filelist/EntryFiles.h"

#include "filelist/FileList.h"
#include "media/Movie.h"

#include <algorithm>
#include <system_error>

namespace filelist {

std::vector<std::filesystem::path> resolvedPaths(const FileList& list) {
    std::vector<std::filesystem::path> paths;
    paths.reserve(static_cast<std::size_t>(list.count()));
    for (int i = 0; i < list.count(); ++i)
        if (auto path = list.pathOfEntry(i))
            paths.push_back(std::move(*path));
    return paths;
}

std::optional<int> lastSelectedRow(const std::vector<int>& selectedRows) {
    if (selectedRows.empty())
        return std::nullopt;
    return *std::max_element(selectedRows.begin(), selectedRows.end());
}

std::optional<std::filesystem::path> fileToReveal(const FileList& list, std::optional<int> row) {
    if (!row)
        return std::nullopt;
    return list.pathOfEntry(*row);
}

std::optional<std::filesystem::path> fileToOpen(const FileList& list, std::optional<int> row) {
    auto path = fileToReveal(list, row);
    std::error_code error;
    if (!path || !std::filesystem::exists(*path, error))
        return std::nullopt;
    return path;
}

bool shouldShowFilename(const std::filesystem::path& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        return true;
    return path.extension() == ".qxst" || media::Movie::canOpen(path);
}

} // namespace filelist
