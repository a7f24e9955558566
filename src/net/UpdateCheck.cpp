#include "net/UpdateCheck.h"

#include "net/HttpGet.h"

namespace net {

namespace {

// A version file lists a few products; anything near this is not one.
constexpr qint64 kLongestVersionFile = 1024 * 1024;

} // namespace

QUrl versionFileAddress() {
    return QUrl(QStringLiteral(JOINCLIP_VERSION_FILE_URL));
}

UpdateCheckOutcome checkForUpdate(const UpdateCheckRequest& request, const std::function<bool()>& isCancelled) {
    HttpGetRequest get;
    get.url = request.address;
    get.stallTimeout = request.timeout;
    get.totalTimeout = request.timeout;
    get.longestBody = kLongestVersionFile;
    QByteArray body;
    HttpGetHooks hooks;
    hooks.isCancelled = isCancelled;
    hooks.body = [&body](const QByteArray& bytes) {
        body += bytes;
        return true;
    };
    UpdateCheckOutcome outcome;
    if (const auto got = httpGet(get, hooks); !got) {
        outcome.failure = got.error().error;
        return outcome;
    }
    const std::optional<PublishedVersion> published = readVersionFile(body);
    if (!published) {
        outcome.status = UpdateCheckOutcome::Status::Unreadable;
        return outcome;
    }
    outcome.published = *published;
    outcome.status = request.ourNumber < published->number ? UpdateCheckOutcome::Status::Newer
                                                           : UpdateCheckOutcome::Status::Current;
    return outcome;
}

} // namespace net
