#pragma once

#include "net/DownloadJob.h"
#include "support/MovieDownloadQueue.h"

#include <QElapsedTimer>
#include <QObject>
#include <chrono>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <map>
#include <memory>

namespace net {

// The web addresses dropped on the file table, downloaded one at a time in
// the order they came (first in, first out) into the download folder. Each
// download is a DownloadJob on a worker thread; the queue lives on the
// window's thread and tells what happens through its signals. Queued
// addresses are not kept between runs.
class DownloadQueue final : public QObject, public support::MovieDownloadQueue {
    Q_OBJECT
public:
    // What a download needs to know when it starts; asked then each time.
    struct Settings final {
        // The folder downloads go to; none when there is none.
        std::function<std::optional<std::filesystem::path>()> destinationFolder;
        // Whether a download may replace a file of the same name ("AllowOverwrite").
        std::function<bool()> allowOverwrite;
        std::chrono::milliseconds stallTimeout{30000};
    };

    explicit DownloadQueue(Settings settings, QObject* parent = nullptr);
    ~DownloadQueue() override;

    // Queues address (an empty text is refused), remembering its link title;
    // the first one starts at once. A text that is not a web address fails
    // in its turn like any failed download.
    void enqueueMovieURL(const QString& address, const std::optional<QString>& linkTitle) override;
    // Cancels the running download; the next one starts at once.
    void cancelDownload();
    void setCredentialsQuestion(DownloadJob::CredentialsQuestion question) { m_question = std::move(question); }

    // The addresses queued, the running one first.
    int count() const { return static_cast<int>(m_queue.size()); }
    bool isIdle() const { return m_queue.empty(); }

    // The title of a finished download's entry: its file name, with the link
    // title in parentheses when there was one.
    static QString entryTitle(const std::filesystem::path& file, const std::optional<QString>& linkTitle);

signals:
    // The status line's text after each change of the queue: how many wait
    // (queueCountLine), or the empty text once the last one has ended.
    void queueChanged(const QString& statusLine);
    void downloadStarted(const QString& address);
    // Only for servers that announce the length.
    void downloadProgress(qint64 received, qint64 expected, std::uint32_t elapsedSeconds);
    void downloadFinished(const std::filesystem::path& file, const QString& title, const QString& address);
    // message is the failure, in English (the receiver looks it up).
    void downloadFailed(const QString& message, const QString& address);
    void downloadCancelled(const QString& address);

private:
    void startFirst();
    void jobFinished(bool succeeded);
    void finishCurrent();

    Settings m_settings;
    DownloadJob::CredentialsQuestion m_question;
    std::deque<QString> m_queue;
    // The link titles that came with the addresses, by address; kept for the run.
    std::map<QString, QString> m_linkTitles;
    std::unique_ptr<DownloadJob> m_job;
    QElapsedTimer m_clock;
};

} // namespace net
