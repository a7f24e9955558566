// Files other applications ask us to open, the file commands on the selected
// entry and the Help menu's web pages.

#include "app/JoinClipController.h"
#include "app/WebPages.h"
#include "media/DisplayName.h"
#include "media/Movie.h"
#include "platform/DesktopServices.h"
#include "platform/FolderListing.h"
#include "support/FormatText.h"
#include "support/LocalizedString.h"

#include <system_error>

namespace app {

namespace {

// Opened documents and the files of opened folders whose path does not fit
// 2,048 bytes are skipped.
constexpr std::size_t kMaxOpenedPathBytes = 2048;

const char* const kCanNotProcess = "JoinClip can not process the file \"%@\".";
const char* const kComponentsAdvice =
    "Please make sure you have the correct QuickTime components installed for the selected file type.";

bool isFolder(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

bool itemExists(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::exists(path, error);
}

} // namespace

void JoinClipController::applicationDidBecomeActive() {
    m_outlets.fileList.movieTable->reloadData();
}

bool JoinClipController::canProcessFileOrFolder(const std::filesystem::path& path) {
    if (isFolder(path))
        return true;
    if (media::Movie::canOpen(path))
        return true;
    if (!itemExists(path))
        return false; // no item, no name to tell the user about
    const QString name = media::displayNameOfFile(path);
    if (name.isEmpty())
        return false;
    // These texts are shown in English, as the opened-documents road always did.
    m_outlets.join.alerts->showInformational(support::fillFormat(kCanNotProcess, {name}), kComponentsAdvice,
                                             nullptr);
    return false;
}

std::optional<std::vector<std::filesystem::path>>
JoinClipController::scanFolderForFiles(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> listed;
    if (!platform::CopyFolderFileRefs(folder, listed))
        return std::nullopt;
    std::vector<std::filesystem::path> accepted;
    for (const auto& file : listed) {
        if (file.native().size() > kMaxOpenedPathBytes || platform::isInvisible(file))
            continue;
        if (media::Movie::canOpen(file)) {
            accepted.push_back(file);
            continue;
        }
        const QString name = media::displayNameOfFile(file);
        if (name.isEmpty())
            continue;
        m_outlets.join.alerts->showInformational(
            support::fillFormat(support::LocalizedString(kCanNotProcess), {name}),
            support::LocalizedString(kComponentsAdvice), nullptr);
    }
    if (accepted.empty())
        return std::nullopt;
    return accepted;
}

void JoinClipController::openDocuments(const std::vector<std::filesystem::path>& paths) {
    if (paths.empty())
        return;
    std::vector<std::filesystem::path> files;
    for (const auto& path : paths) {
        if (path.empty() || path.native().size() > kMaxOpenedPathBytes || !canProcessFileOrFolder(path))
            continue;
        if (isFolder(path)) {
            if (auto inside = scanFolderForFiles(path))
                files.insert(files.end(), inside->begin(), inside->end());
        } else {
            files.push_back(path);
        }
    }
    m_movies.joinClips(std::move(files));
}

namespace {

// The entry the file commands act on: the last selected row, when it names an entry.
std::optional<std::filesystem::path> selectedEntryPath(const filelist::FileList& list,
                                                       const filelist::TableView& table) {
    const std::vector<int> rows = table.selectedRows();
    if (rows.empty())
        return std::nullopt;
    return list.pathOfEntry(rows.back());
}

} // namespace

void JoinClipController::openItem() {
    const auto path = selectedEntryPath(m_movies, *m_outlets.fileList.movieTable);
    if (path && itemExists(*path))
        m_outlets.join.desktop->openFile(*path);
}

void JoinClipController::revealItem() {
    if (const auto path = selectedEntryPath(m_movies, *m_outlets.fileList.movieTable))
        m_outlets.join.desktop->revealFile(*path);
}

void JoinClipController::goToWebsite() {
    m_outlets.join.desktop->openURL(kProductPageURL);
}

void JoinClipController::goToMAS() {
    m_outlets.join.desktop->openURL(kStorePageURL);
}

void JoinClipController::openJoinClipHelpURL() {
    m_outlets.join.desktop->openURL(kHelpPageURL);
}

} // namespace app
