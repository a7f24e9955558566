// Adding a batch of paths and the files of folders.

#include "filelist/FileList.h"
#include "filelist/DefaultBaseName.h"
#include "platform/FileReference.h"
#include "platform/FolderListing.h"
#include "platform/TextOrder.h"
#include "support/LocalizedString.h"
#include "support/UserDefaults.h"

#include <QFile>
#include <system_error>

namespace filelist {

namespace {

// Folder items whose path does not fit 1,024 bytes with its terminator are skipped.
constexpr std::size_t kMaxFolderItemPathBytes = 1023;

} // namespace

bool FileList::addFile(const std::filesystem::path& file, int index) {
    const QByteArray reference = platform::getAlias(file);
    if (reference.isEmpty()) {
        m_leftOut.push_back({file, support::LocalizedString("The file cannot be found.")});
        return false;
    }
    const int before = count();
    insertEntry(reference, index, std::nullopt);
    return count() > before;
}

void FileList::addFiles(std::vector<std::filesystem::path> paths) {
    m_leftOut.clear();
    if (!paths.empty() && m_defaults.boolValue(support::Pref::ClearListWhenAddingFiles))
        removeAll();

    // Each path is decoded once, not once per comparison: an imported list may hold 100,000.
    std::vector<std::pair<QString, std::filesystem::path>> named;
    named.reserve(paths.size());
    for (auto& path : paths)
        named.emplace_back(QFile::decodeName(path.c_str()), std::move(path));
    platform::stableSortInTextOrder(named, [](const auto& item) -> const QString& { return item.first; });
    for (std::size_t i = 0; i < named.size(); ++i)
        paths[i] = std::move(named[i].second);

    // From the last path to the first, each file goes to the top of the list,
    // so the batch ends up in ascending order ahead of what was there.
    for (auto path = paths.rbegin(); path != paths.rend(); ++path) {
        std::error_code error;
        const auto status = std::filesystem::status(*path, error);
        if (error || !std::filesystem::exists(status)) {
            m_leftOut.push_back({*path, support::LocalizedString("The file cannot be found.")});
            continue;
        }
        const bool isFolder = std::filesystem::is_directory(status);
        if (isFolder) {
            addDirectoryItems(*path);
        } else {
            addFile(*path, 0);
        }
        nameOutputAfter(*path, isFolder);
    }

    emit changed();
}

void FileList::nameOutputAfter(const std::filesystem::path& item, bool isFolder) {
    m_defaultBaseName = filelist::defaultBaseName(item, isFolder, count());
}

bool FileList::addDirectoryItems(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    if (!platform::CopyFolderFileRefs(folder, files)) {
        m_leftOut.push_back({folder, support::LocalizedString("The folder cannot be read.")});
        return false;
    }

    emit busyChanged(true);
    bool added = false;
    for (const auto& file : files) {
        if (platform::isInvisible(file))
            continue;
        if (file.native().size() > kMaxFolderItemPathBytes) {
            m_leftOut.push_back({file, support::LocalizedString("Its path is too long.")});
            continue;
        }
        added = addFile(file, count()) || added;
    }
    emit busyChanged(false);
    return added;
}

} // namespace filelist
