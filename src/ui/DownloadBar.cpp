#include "ui/DownloadBar.h"

#include "filelist/FileList.h"
#include "net/DownloadProgressLine.h"
#include "net/DownloadQueue.h"
#include "platform/FileReference.h"
#include "platform/FolderPreferences.h"
#include "support/Console.h"
#include "support/UserDefaults.h"
#include "support/FormatText.h"
#include "support/LocalizedString.h"
#include "ui/Alerts.h"
#include "ui/CredentialsDialog.h"

#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>

namespace ui {

using support::LocalizedString;

DownloadBar::DownloadBar(const Widgets& widgets, filelist::FileList& list, support::UserDefaults& defaults,
                         support::Console& console)
    : m_widgets(widgets), m_list(list), m_console(console) {
    m_queue = std::make_unique<net::DownloadQueue>(net::DownloadQueue::Settings{
        .destinationFolder = [&defaults] { return platform::CopyDestinationFolderPath(defaults.store()); },
        .allowOverwrite = [&defaults] { return defaults.boolValue(support::Pref::AllowOverwrite); }});
    m_queue->setCredentialsQuestion([this](const QUrl& url, const QString& realm) {
        return askForCredentials(m_widgets.window, url, realm);
    });
    m_widgets.bar.setRange(0, 1000);
    m_widgets.cancelButton.setAccessibleName(LocalizedString("Cancel Download"));
    show(false);

    connect(&m_widgets.cancelButton, &QPushButton::clicked, m_queue.get(), &net::DownloadQueue::cancelDownload);
    connect(m_queue.get(), &net::DownloadQueue::queueChanged, this,
            &DownloadBar::statusChanged);
    connect(m_queue.get(), &net::DownloadQueue::downloadStarted, this, [this] {
        m_widgets.line.clear();
        m_widgets.bar.setValue(0);
        show(true);
    });
    connect(m_queue.get(), &net::DownloadQueue::downloadProgress, this,
            [this](qint64 received, qint64 expected, std::uint32_t elapsed) {
                const double fraction = std::clamp(static_cast<double>(received) / static_cast<double>(expected), 0.0, 1.0);
                m_widgets.bar.setValue(static_cast<int>(fraction * 1000.0));
                m_widgets.line.setText(net::downloadProgressLine(received, expected, elapsed));
            });
    connect(m_queue.get(), &net::DownloadQueue::downloadFinished, this,
            [this](const std::filesystem::path& file, const QString& title) {
                show(false);
                addToList(file, title);
            });
    connect(m_queue.get(), &net::DownloadQueue::downloadFailed, this, [this](const QString& message, const QString& address) {
        show(false);
        tellFailure(message, address);
    });
    connect(m_queue.get(), &net::DownloadQueue::downloadCancelled, this, [this] { show(false); });
}

DownloadBar::~DownloadBar() = default;

void DownloadBar::show(bool shown) {
    m_widgets.row.setVisible(shown);
}

void DownloadBar::addToList(const std::filesystem::path& file, const QString& title) {
    const int before = m_list.count();
    m_list.insertEntry(platform::getAlias(file), before, title);
    if (m_list.count() == before) {
        // Kept on disk, where the person can still use it; the list takes only what opens.
        emit statusChanged(support::fillFormat(LocalizedString("“%@” was downloaded but cannot be added to the list."),
                                               {QFile::decodeName(file.filename().c_str())}));
        return;
    }
    m_list.nameOutputAfter(file, false);
}

void DownloadBar::tellFailure(const QString& message, const QString& address) {
    const QString reason = message.isEmpty() ? QStringLiteral("An error occured during download.") : message;
    m_console.writeLine(support::fillFormat(LocalizedString("JoinClip download failed. Error - %@ %@"),
                                       {LocalizedString(reason), address}));
    showAlert({support::Told::Failure, "Download Failed", reason}, &m_widgets.window);
}

} // namespace ui
