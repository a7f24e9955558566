#pragma once

#include "media/Error.h"

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <chrono>
#include <expected>
#include <functional>
#include <optional>

namespace net {

// A name and password for a server that asks for them.
struct Credentials final {
    QString user;
    QString password;
};

// What the server said about the body before sending it.
struct ResponseHead final {
    int status = 0;
    QUrl url;                   // after redirects
    qint64 contentLength = -1;  // of this response's body; -1 when not announced
    qint64 rangeStart = 0;      // where a partial body (206) starts in the whole
    qint64 totalLength = -1;    // of the whole file; -1 when not known
    bool acceptsRanges = false; // "Accept-Ranges: bytes"
    QByteArray contentDisposition;
    QByteArray validator; // the strong ETag, else Last-Modified: what If-Range needs
};

// One GET of a web address.
struct HttpGetRequest final {
    QUrl url;
    // Asks for the body from this byte on (a Range request), under the condition
    // that the file is still the one `ifRange` names (ETag or date).
    qint64 from = 0;
    QByteArray ifRange;
    // The transfer fails when nothing arrives for this long...
    std::chrono::milliseconds stallTimeout{30000};
    // ...and when it takes longer than this in all (zero: no limit).
    std::chrono::milliseconds totalTimeout{0};
    // Bodies longer than this are refused (-1: no limit).
    qint64 longestBody = -1;
};

// How the caller follows and steers the transfer. Each is called on the calling thread.
struct HttpGetHooks final {
    // Polled; true stops the transfer.
    std::function<bool()> isCancelled;
    // A server asks for a name and password; none gives up. Asked again when
    // the answer was refused.
    std::function<std::optional<Credentials>(const QUrl& url, const QString& realm)> credentials;
    // Once, when the final response's head is known (never for an error status);
    // false stops the transfer (the reason is the caller's to keep).
    std::function<bool(const ResponseHead& head)> head;
    // Each piece of the body in order; false stops the transfer.
    std::function<bool(const QByteArray& bytes)> body;
};

// Why a GET ended early.
enum class HttpFailure {
    Cancelled,     // isCancelled said so
    Stopped,       // a hook answered false
    Stalled,       // the stall or total timeout fired
    Cut,           // the connection ended before the body was complete
    Refused,       // an error status, a refused redirect, a body too long
    NetworkError,  // no connection, a name that does not resolve, ...
};

struct HttpGetError final {
    HttpFailure failure;
    media::Error error;
    qint64 received = 0; // body bytes delivered before the end
};

// Runs one GET on the calling thread, spinning a local event loop until it
// ends (the thread needs no running loop of its own). Redirects are followed
// only to http and https addresses; the body is asked for unencoded
// ("Accept-Encoding: identity") and never taken from a cache. Answers the
// head of the completed response.
[[nodiscard]] std::expected<ResponseHead, HttpGetError> httpGet(const HttpGetRequest& request,
                                                                 const HttpGetHooks& hooks);

// Whether url is a web address a download may use: http or https with a host.
[[nodiscard]] bool isWebAddress(const QUrl& url);

} // namespace net
