#pragma once

#include "media/Error.h"
#include "net/HttpGet.h"

#include <QUrl>
#include <chrono>
#include <expected>
#include <filesystem>
#include <functional>
#include <optional>

namespace net {

// One file to fetch from the web into a folder.
struct DownloadRequest final {
    QUrl url;
    std::filesystem::path folder;
    // Whether the download may replace a file of the same name; otherwise it
    // takes the first free name ("movie-1.mov", ...).
    bool allowOverwrite = false;
    // A download fails when nothing arrives for this long.
    std::chrono::milliseconds stallTimeout{30000};
    // How often a connection cut mid-way is taken up again (from where it
    // stopped when the server takes ranges, from the start otherwise).
    int resumeAttempts = 5;
};

struct DownloadHooks final {
    std::function<bool()> isCancelled;
    std::function<std::optional<Credentials>(const QUrl& url, const QString& realm)> credentials;
    // Bytes of the file so far, and its whole length (-1 when the server did not say).
    std::function<void(qint64 received, qint64 expected)> progress;
};

// Downloads request.url into request.folder, on the calling thread, and
// answers the finished file's path. The name is the one the server suggests
// made safe (see downloadFileName). The bytes go to a temporary file of our
// own in the folder, renamed to the name only once complete, so a failed or
// cancelled download leaves nothing behind and never a part under the final
// name. The finished file records where it came from in its extended
// attributes ("user.xdg.origin.url", and as the comment "user.xdg.comment"),
// without any name or password the address held; a file system that keeps no
// attributes leaves them out.
[[nodiscard]] std::expected<std::filesystem::path, media::Error> downloadFile(const DownloadRequest& request,
                                                                               const DownloadHooks& hooks);

} // namespace net
