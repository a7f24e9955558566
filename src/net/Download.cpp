#include "net/Download.h"

#include "media/FilesInProgress.h"
#include "net/DownloadFileName.h"
#include "platform/ExtendedAttributes.h"
#include "platform/RenameInPlace.h"

#include <QFile>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>
#include <memory>

namespace net {

namespace {

// Free names tried before giving up when the name is taken.
constexpr int kFreeNameAttempts = 1000;

media::Error error(int code, const QString& message) {
    return {code, message.toStdString()};
}

std::string fileSystemName(const QString& name) {
    return QFile::encodeName(name).toStdString();
}

// The download's own temporary file: removed unless it was renamed into place.
class PartFile final {
public:
    explicit PartFile(const std::filesystem::path& folder)
        : m_path(media::ownFileName(folder, ".part")), m_file(QFile::decodeName(m_path.c_str())) {}
    ~PartFile() {
        if (!m_kept) {
            m_file.close();
            std::error_code ignored;
            std::filesystem::remove(m_path, ignored);
        }
    }
    PartFile(const PartFile&) = delete;
    PartFile& operator=(const PartFile&) = delete;

    [[nodiscard]] bool open() {
        if (!m_file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return false;
        m_listed = std::make_unique<media::FileInProgress>(m_path, true);
        return true;
    }
    QFile& file() { return m_file; }
    const std::filesystem::path& path() const { return m_path; }
    void keep() { m_kept = true; }

private:
    std::filesystem::path m_path;
    QFile m_file;
    std::unique_ptr<media::FileInProgress> m_listed;
    bool m_kept = false;
};

// Gives the finished part file its name in the folder: over a file of that
// name when allowed, else under the first free numbered name.
std::expected<std::filesystem::path, media::Error> nameFinishedFile(const PartFile& part, const QString& name,
                                                                    bool allowOverwrite) {
    const std::filesystem::path folder = part.path().parent_path();
    if (allowOverwrite) {
        const std::filesystem::path target = folder / fileSystemName(name);
        if (std::rename(part.path().c_str(), target.c_str()) != 0)
            return std::unexpected(error(errno, QStringLiteral("The downloaded file could not be named “%1”: %2")
                                                    .arg(name, QString::fromLocal8Bit(std::strerror(errno)))));
        return target;
    }
    for (int number = 0; number < kFreeNameAttempts; ++number) {
        const std::string candidate = fileSystemName(numberedFileName(name, number));
        const int refused = platform::renameInPlace(part.path(), candidate);
        if (refused == 0)
            return folder / candidate;
        if (refused != EEXIST)
            return std::unexpected(error(refused, QStringLiteral("The downloaded file could not be named “%1”: %2")
                                                      .arg(name, QString::fromLocal8Bit(std::strerror(refused)))));
    }
    return std::unexpected(error(EEXIST, QStringLiteral("No free name was found for “%1”.").arg(name)));
}

// Where the file came from, where the desktop looks for it. Failures are not
// the download's: a file system without user attributes keeps the file.
void recordOrigin(const std::filesystem::path& file, const QUrl& url) {
    const QByteArray origin = url.toString(QUrl::RemoveUserInfo | QUrl::FullyEncoded).toUtf8();
    (void)platform::setExtendedAttribute(file, "user.xdg.origin.url", origin);
    (void)platform::setExtendedAttribute(file, "user.xdg.comment", origin);
}

} // namespace

std::expected<std::filesystem::path, media::Error> downloadFile(const DownloadRequest& request,
                                                                const DownloadHooks& hooks) {
    if (!isWebAddress(request.url))
        return std::unexpected(
            error(EINVAL, QStringLiteral("“%1” is not a web address.").arg(request.url.toString())));
    std::error_code ignored;
    if (!std::filesystem::is_directory(request.folder, ignored))
        return std::unexpected(error(ENOENT, QStringLiteral("The download folder “%1” does not exist.")
                                                 .arg(QFile::decodeName(request.folder.c_str()))));
    PartFile part(request.folder);
    if (!part.open())
        return std::unexpected(error(EACCES, QStringLiteral("The download could not be written in “%1”: %2")
                                                 .arg(QFile::decodeName(request.folder.c_str()),
                                                      part.file().errorString())));

    std::optional<QString> name;
    qint64 written = 0;
    qint64 total = -1;
    QByteArray validator;
    bool acceptsRanges = false;
    std::optional<media::Error> stoppedBecause;
    const auto progress = [&] {
        if (hooks.progress)
            hooks.progress(written, total);
    };

    HttpGetHooks get;
    get.isCancelled = hooks.isCancelled;
    get.credentials = hooks.credentials;
    get.head = [&](const ResponseHead& head) {
        if (!name)
            name = downloadFileName(head.contentDisposition, head.url);
        const bool continues = head.status == 206 && head.rangeStart == written;
        if (head.status == 206 && !continues) {
            stoppedBecause = error(EIO, QStringLiteral("The server sent another part of the file than asked for."));
            return false;
        }
        if (!continues && written > 0) {
            // The server sends the whole file again: start over.
            if (!part.file().resize(0) || !part.file().seek(0)) {
                stoppedBecause = error(EIO, part.file().errorString());
                return false;
            }
            written = 0;
        }
        total = head.totalLength;
        acceptsRanges = head.acceptsRanges || head.status == 206;
        validator = head.validator;
        progress();
        return true;
    };
    get.body = [&](const QByteArray& bytes) {
        if (part.file().write(bytes) != bytes.size()) {
            stoppedBecause = error(EIO, QStringLiteral("The downloaded file could not be written: %1")
                                            .arg(part.file().errorString()));
            return false;
        }
        written += bytes.size();
        progress();
        return true;
    };

    for (int attempt = 0;; ++attempt) {
        HttpGetRequest attemptRequest;
        attemptRequest.url = request.url;
        attemptRequest.stallTimeout = request.stallTimeout;
        // Taken up where it stopped only when the server can tell that the file is still the same one.
        if (written > 0 && acceptsRanges && !validator.isEmpty()) {
            attemptRequest.from = written;
            attemptRequest.ifRange = validator;
        }
        const auto got = httpGet(attemptRequest, get);
        if (got)
            break;
        if (stoppedBecause)
            return std::unexpected(*stoppedBecause);
        if (got.error().failure != HttpFailure::Cut || attempt >= request.resumeAttempts)
            return std::unexpected(got.error().error);
    }
    if (total >= 0 && written != total)
        return std::unexpected(error(EIO, QStringLiteral("The download ended before the whole file arrived.")));
    if (!part.file().flush() || ::fsync(part.file().handle()) != 0) {
        return std::unexpected(error(EIO, QStringLiteral("The downloaded file could not be written: %1")
                                              .arg(part.file().errorString())));
    }
    part.file().close();
    recordOrigin(part.path(), request.url);
    auto finished = nameFinishedFile(part, name.value_or(QStringLiteral("download")), request.allowOverwrite);
    if (finished)
        part.keep();
    return finished;
}

} // namespace net
