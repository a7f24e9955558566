// Adding a batch of paths and the files of folders.

#include "filelist/FileList.h"
#include "platform/FileReference.h"
#include "platform/FolderListing.h"
#include "platform/TextOrder.h"
#include "support/UserDefaults.h"

#include <QFile>
#include <system_error>

namespace filelist {

namespace {

// Folder items whose path does not fit 1,024 bytes with its terminator are skipped.
constexpr std::size_t kMaxFolderItemPathBytes = 1023;

} // namespace

void FileList::joinClips(std::vector<std::filesystem::path> paths) {
    if (!paths.empty() && m_defaults.boolValue(support::Pref::ClearListWhenAddingFiles))
        clearAll();

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
        if (error || !std::filesystem::exists(status))
            continue;
        const bool isFolder = std::filesystem::is_directory(status);
        if (isFolder) {
            addDirectoryItems(*path);
        } else {
            const QByteArray reference = platform::getAlias(*path);
            if (!reference.isEmpty())
                joinClip(reference, 0, std::nullopt);
        }
        if (m_services.makeDefaultFilename)
            m_services.makeDefaultFilename(*path, isFolder);
    }

    m_outlets.movieTable->reloadData();
    enableControlsForCount();
}

bool FileList::addDirectoryItems(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    if (!platform::CopyFolderFileRefs(folder, files))
        return false; // a folder that cannot be listed adds nothing

    m_outlets.spinner->setHidden(false);
    m_outlets.spinner->startAnimation();
    bool added = false;
    for (const auto& file : files) {
        if (file.native().size() > kMaxFolderItemPathBytes || !media::Movie::canOpen(file))
            continue;
        const QByteArray reference = platform::getAlias(file);
        if (reference.isEmpty())
            continue;
        joinClip(reference, count(), std::nullopt);
        added = true;
    }
    m_outlets.spinner->setHidden(true);
    m_outlets.spinner->stopAnimation();
    return added;
}

} // namespace filelist
