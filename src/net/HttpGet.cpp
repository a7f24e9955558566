#include "net/HttpGet.h"

#include <QAuthenticator>
#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <cerrno>
#include <memory>

namespace net {

namespace {

// How often a transfer looks whether it was cancelled.
constexpr std::chrono::milliseconds kCancelPoll{50};

std::string text(const QString& string) {
    return string.toStdString();
}

HttpGetError failed(HttpFailure failure, int code, const QString& message) {
    return {failure, {code, text(message)}, 0};
}

QNetworkRequest networkRequest(const HttpGetRequest& request) {
    QNetworkRequest out(request.url);
    out.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    out.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    // The file is kept exactly as the server holds it, and a range means the same bytes on every try.
    out.setRawHeader("Accept-Encoding", "identity");
    out.setHeader(QNetworkRequest::UserAgentHeader,
                  QStringLiteral("JoinClip/%1").arg(QCoreApplication::applicationVersion()));
    if (request.from > 0) {
        out.setRawHeader("Range", "bytes=" + QByteArray::number(request.from) + "-");
        if (!request.ifRange.isEmpty())
            out.setRawHeader("If-Range", request.ifRange);
    }
    return out;
}

ResponseHead responseHead(const QNetworkReply& reply) {
    ResponseHead head;
    head.status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    head.url = reply.url();
    if (const QVariant length = reply.header(QNetworkRequest::ContentLengthHeader); length.isValid())
        head.contentLength = length.toLongLong();
    head.acceptsRanges = reply.rawHeader("Accept-Ranges").trimmed().toLower() == "bytes";
    head.contentDisposition = reply.rawHeader("Content-Disposition");
    const QByteArray etag = reply.rawHeader("ETag").trimmed();
    head.validator = !etag.isEmpty() && !etag.startsWith("W/") ? etag : reply.rawHeader("Last-Modified").trimmed();
    head.totalLength = head.status == 200 ? head.contentLength : -1;
    if (head.status == 206) {
        // "bytes FIRST-LAST/TOTAL", TOTAL "*" when unknown.
        const QByteArray range = reply.rawHeader("Content-Range").trimmed();
        const qsizetype space = range.indexOf(' '), dash = range.indexOf('-'), slash = range.indexOf('/');
        if (space > 0 && dash > space && slash > dash) {
            bool ok = false;
            head.rangeStart = range.mid(space + 1, dash - space - 1).toLongLong(&ok);
            if (!ok)
                head.rangeStart = -1;
            const qint64 total = range.mid(slash + 1).toLongLong(&ok);
            head.totalLength = ok ? total : -1;
        } else {
            head.rangeStart = -1;
        }
    }
    return head;
}

QString statusText(const QNetworkReply& reply, int status) {
    const QString reason = reply.attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString().trimmed();
    return reason.isEmpty() ? QString::number(status) : QStringLiteral("%1 %2").arg(status).arg(reason);
}

} // namespace

bool isWebAddress(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https")) &&
           !url.host().isEmpty();
}

std::expected<ResponseHead, HttpGetError> httpGet(const HttpGetRequest& request, const HttpGetHooks& hooks) {
    if (!isWebAddress(request.url))
        return std::unexpected(failed(HttpFailure::Refused, EINVAL,
                                      QStringLiteral("“%1” is not a web address.").arg(request.url.toString())));
    QNetworkAccessManager manager;
    manager.setRedirectPolicy(QNetworkRequest::UserVerifiedRedirectPolicy);
    std::unique_ptr<QNetworkReply> reply(manager.get(networkRequest(request)));
    QEventLoop loop;
    QTimer stall, total, poll;
    stall.setSingleShot(true);
    total.setSingleShot(true);
    std::optional<HttpGetError> failure;
    std::optional<ResponseHead> head;
    qint64 received = 0;

    const auto stop = [&](HttpGetError why) {
        if (!failure)
            failure = std::move(why);
        reply->abort();
    };
    const auto alive = [&] { stall.start(request.stallTimeout); };

    QObject::connect(&stall, &QTimer::timeout, &loop, [&] {
        stop(failed(HttpFailure::Stalled, ETIMEDOUT, QStringLiteral("The server stopped sending data.")));
    });
    QObject::connect(&total, &QTimer::timeout, &loop, [&] {
        stop(failed(HttpFailure::Stalled, ETIMEDOUT, QStringLiteral("The server did not answer in time.")));
    });
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (hooks.isCancelled && hooks.isCancelled())
            stop(failed(HttpFailure::Cancelled, ECANCELED, QStringLiteral("Cancelled")));
    });
    QObject::connect(reply.get(), &QNetworkReply::redirected, &loop, [&](const QUrl& target) {
        alive();
        if (!isWebAddress(target)) {
            stop(failed(HttpFailure::Refused, EPERM,
                        QStringLiteral("The server sent the download on to “%1”, which is not a web address.")
                            .arg(target.toString(QUrl::RemoveUserInfo))));
            return;
        }
        emit reply->redirectAllowed();
    });
    QObject::connect(&manager, &QNetworkAccessManager::authenticationRequired, &loop,
                     [&](QNetworkReply*, QAuthenticator* authenticator) {
                         if (!hooks.credentials)
                             return;
                         // The person answering takes their time: the timeouts wait for them.
                         stall.stop();
                         const std::optional<Credentials> answer =
                             hooks.credentials(reply->url(), authenticator->realm());
                         alive();
                         if (answer) {
                             authenticator->setUser(answer->user);
                             authenticator->setPassword(answer->password);
                         }
                     });
    QObject::connect(reply.get(), &QNetworkReply::metaDataChanged, &loop, alive);
    QObject::connect(reply.get(), &QNetworkReply::readyRead, &loop, [&] {
        alive();
        if (failure)
            return;
        if (!head) {
            const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
            if (status >= 300) {
                // An error page (or a redirect's own body) is not the file.
                (void)reply->readAll();
                return;
            }
            head = responseHead(*reply);
            if (hooks.head && !hooks.head(*head)) {
                stop(failed(HttpFailure::Stopped, 0, QString()));
                return;
            }
        }
        const QByteArray bytes = reply->readAll();
        received += bytes.size();
        if (request.longestBody >= 0 && received > request.longestBody) {
            stop(failed(HttpFailure::Refused, EFBIG, QStringLiteral("The server sent more data than expected.")));
            return;
        }
        if (hooks.body && !bytes.isEmpty() && !hooks.body(bytes))
            stop(failed(HttpFailure::Stopped, 0, QString()));
    });
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);

    alive();
    if (request.totalTimeout.count() > 0)
        total.start(request.totalTimeout);
    poll.start(kCancelPoll);
    if (!reply->isFinished())
        loop.exec();
    stall.stop();
    total.stop();
    poll.stop();

    if (failure) {
        failure->received = received;
        return std::unexpected(*failure);
    }
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QNetworkReply::NetworkError error = reply->error();
    if (error == QNetworkReply::AuthenticationRequiredError)
        return std::unexpected(
            failed(HttpFailure::Refused, EACCES, QStringLiteral("The server refused the name and password.")));
    if (error != QNetworkReply::NoError && status >= 400)
        return std::unexpected(failed(HttpFailure::Refused, 0,
                                      QStringLiteral("The server answered %1.").arg(statusText(*reply, status))));
    if (error != QNetworkReply::NoError) {
        HttpGetError why = failed(head ? HttpFailure::Cut : HttpFailure::NetworkError,
                                  head ? ECONNRESET : 0, reply->errorString());
        why.received = received;
        return std::unexpected(why);
    }
    if (!head) {
        // An empty body brings no readyRead.
        head = responseHead(*reply);
        if (hooks.head && !hooks.head(*head))
            return std::unexpected(failed(HttpFailure::Stopped, 0, QString()));
    }
    if (head->contentLength >= 0 && received < head->contentLength) {
        HttpGetError why = failed(HttpFailure::Cut, ECONNRESET, QStringLiteral("The connection ended early."));
        why.received = received;
        return std::unexpected(why);
    }
    return *head;
}

} // namespace net
