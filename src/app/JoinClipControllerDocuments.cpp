// Files other applications ask us to open, the file commands on the selected
// entry and the Help menu's web pages.

#include "app/JoinClipController.h"
#include "app/HelpAddresses.h"
#include "platform/DesktopServices.h"

#include <system_error>

namespace app {

namespace {

bool itemExists(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::exists(path, error);
}

} // namespace

// Files and folders go in as one batch, as Add Files takes them; what does
// not open is named in one alert.
void JoinClipController::openDocuments(const std::vector<std::filesystem::path>& paths) {
    if (paths.empty())
        return;
    m_movies.addFiles(paths);
    app::tellLeftOut(m_movies, tellInAlert());
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

void JoinClipController::openProductPage() {
    if (const auto page = productPageAddress())
        m_outlets.join.desktop->openURL(page->toString());
}

void JoinClipController::openSoftwareCentre() {
    m_outlets.join.desktop->openURL(softwareCentreAddress().toString());
}

void JoinClipController::openManual() {
    if (const auto manual = manualAddress())
        m_outlets.join.desktop->openURL(manual->toString());
}

} // namespace app
