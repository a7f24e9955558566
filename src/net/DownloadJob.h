#pragma once

#include "net/Download.h"
#include "support/Job.h"

#include <atomic>
#include <filesystem>
#include <functional>

namespace net {

// One download as a job: the request in, the finished file out, with the
// bytes received so far for the progress line.
class DownloadJob final : public support::Job {
    Q_OBJECT
public:
    using CredentialsQuestion = std::function<std::optional<Credentials>(const QUrl& url, const QString& realm)>;

    explicit DownloadJob(DownloadRequest request, QObject* parent = nullptr);

    // What to ask, on this object's thread, when the server wants a name and
    // password; without one the download fails there.
    void setCredentialsQuestion(CredentialsQuestion question) { m_question = std::move(question); }

    const DownloadRequest& request() const { return m_request; }
    // Thread-safe: bytes of the file so far, and its length (-1: not announced).
    qint64 received() const { return m_received; }
    qint64 expected() const { return m_expected; }
    // The finished file, once the job has succeeded.
    const std::filesystem::path& file() const { return m_file; }

protected:
    std::expected<void, media::Error> run() override;

private:
    DownloadRequest m_request;
    CredentialsQuestion m_question;
    std::atomic<qint64> m_received{0};
    std::atomic<qint64> m_expected{-1};
    std::filesystem::path m_file;
};

} // namespace net
