// The download folder commands of JoinClipController: where downloaded movies
// are written, chosen, forgotten and opened from the preferences window.

#include "app/JoinClipController.h"
#include "platform/DesktopServices.h"
#include "platform/FolderPreferences.h"
#include "support/LocalizedString.h"

#include <QFile>

namespace app {

namespace {

QString destinationKey() {
    return support::preferenceName(support::Pref::DestinationDirectory);
}

} // namespace

void JoinClipController::selectDestinationDirectory() {
    if (!m_outlets.join.folderChooser)
        return;
    const platform::FolderQuestion question{support::LocalizedString("Choose"),
                                            support::LocalizedString("Choose"),
                                            support::LocalizedString("Choose destination folder")};
    const auto shown =
        platform::ChooseFolderPreference(m_store, *m_outlets.join.folderChooser, question, destinationKey());
    if (shown && m_outlets.movieDownloadDestinationTextField)
        m_outlets.movieDownloadDestinationTextField->setText(*shown);
}

void JoinClipController::clearDestinationDirectory() {
    platform::ClearFolderPreference(m_store, destinationKey());
    if (m_outlets.movieDownloadDestinationTextField)
        m_outlets.movieDownloadDestinationTextField->setText(QString());
}

void JoinClipController::openURLDownloadDirectory() {
    const QString folder = m_outlets.movieDownloadDestinationTextField
                               ? m_outlets.movieDownloadDestinationTextField->text()
                               : QString();
    if (folder.isEmpty()) {
        doAlert("A URL Download directory has not been specified.",
                "So it can not be opened. Specify one in Preferences.", nullptr);
        return;
    }
    if (m_outlets.join.desktop)
        m_outlets.join.desktop->openFile(std::filesystem::path(QFile::encodeName(folder).toStdString()));
}

} // namespace app
