#include "net/DownloadJob.h"

namespace net {

DownloadJob::DownloadJob(DownloadRequest request, QObject* parent) : Job(parent), m_request(std::move(request)) {}

std::expected<void, media::Error> DownloadJob::run() {
    m_received = 0;
    m_expected = -1;
    DownloadHooks hooks;
    hooks.isCancelled = [this] { return isCancelled(); };
    hooks.progress = [this](qint64 received, qint64 expected) {
        m_received = received;
        m_expected = expected;
        reportProgress(expected > 0 ? static_cast<double>(received) / static_cast<double>(expected) : 0.0);
    };
    if (m_question) {
        hooks.credentials = [this](const QUrl& url, const QString& realm) {
            return support::askOnThreadOf<std::optional<Credentials>>(
                this, [this, &url, &realm] { return m_question(url, realm); });
        };
    }
    auto file = downloadFile(m_request, hooks);
    if (!file)
        return std::unexpected(isCancelled() ? support::cancelledError() : file.error());
    m_file = std::move(*file);
    return {};
}

} // namespace net
