#include "net/DownloadQueue.h"

#include "net/DownloadProgressLine.h"

#include <QFile>
#include <cerrno>

namespace net {

DownloadQueue::DownloadQueue(Settings settings, QObject* parent) : QObject(parent), m_settings(std::move(settings)) {}

DownloadQueue::~DownloadQueue() {
    if (m_job) {
        // The job's own end waits for its worker; its signal no longer matters.
        m_job->disconnect(this);
        m_job->cancel();
    }
}

void DownloadQueue::enqueueMovieURL(const QString& address, const std::optional<QString>& linkTitle) {
    if (address.isEmpty())
        return;
    if (linkTitle)
        m_linkTitles[address] = *linkTitle;
    m_queue.push_back(address);
    if (m_queue.size() == 1)
        startFirst();
    emit queueChanged(queueCountLine(count()));
}

void DownloadQueue::cancelDownload() {
    if (m_job)
        m_job->cancel();
}

QString DownloadQueue::entryTitle(const std::filesystem::path& file, const std::optional<QString>& linkTitle) {
    const QString name = QFile::decodeName(file.filename().c_str());
    return linkTitle && !linkTitle->isEmpty() ? QStringLiteral("%1 (%2)").arg(name, *linkTitle) : name;
}

void DownloadQueue::startFirst() {
    const QString address = m_queue.front();
    DownloadRequest request;
    request.url = QUrl(address, QUrl::StrictMode);
    request.allowOverwrite = m_settings.allowOverwrite && m_settings.allowOverwrite();
    request.stallTimeout = m_settings.stallTimeout;
    if (const auto folder = m_settings.destinationFolder ? m_settings.destinationFolder() : std::nullopt)
        request.folder = *folder;
    m_job = std::make_unique<DownloadJob>(std::move(request));
    m_job->setCredentialsQuestion(m_question);
    connect(m_job.get(), &support::Job::progressChanged, this, [this] {
        if (m_job && m_job->expected() > 0)
            emit downloadProgress(m_job->received(), m_job->expected(),
                                  static_cast<std::uint32_t>(m_clock.elapsed() / 1000));
    });
    connect(m_job.get(), &support::Job::finished, this, &DownloadQueue::jobFinished);
    m_clock.start();
    emit downloadStarted(address);
    if (m_job->request().folder.empty()) {
        // Told like any other failure once the queue has taken the address.
        QMetaObject::invokeMethod(this, [this] {
            m_job.reset();
            emit downloadFailed(QStringLiteral("No download folder is set. Choose one in Preferences."),
                                m_queue.front());
            finishCurrent();
        }, Qt::QueuedConnection);
        return;
    }
    m_job->start();
}

void DownloadQueue::jobFinished(bool succeeded) {
    // Deleted once its signal has returned.
    DownloadJob* job = m_job.release();
    job->deleteLater();
    const QString address = m_queue.front();
    if (succeeded) {
        const auto title = m_linkTitles.find(address);
        emit downloadFinished(job->file(),
                              entryTitle(job->file(), title == m_linkTitles.end() ? std::nullopt
                                                                                  : std::optional(title->second)),
                              address);
    } else if (job->error() && job->error()->code == ECANCELED) {
        emit downloadCancelled(address);
    } else {
        emit downloadFailed(QString::fromStdString(job->error() ? job->error()->message : std::string()), address);
    }
    finishCurrent();
}

void DownloadQueue::finishCurrent() {
    m_queue.pop_front();
    if (m_queue.empty()) {
        emit queueChanged(QString());
        return;
    }
    emit queueChanged(queueCountLine(count()));
    startFirst();
}

} // namespace net
