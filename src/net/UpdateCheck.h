#pragma once

#include "media/Error.h"
#include "net/VersionFile.h"

#include <QUrl>
#include <chrono>
#include <cstdint>
#include <functional>

namespace net {

// The address of the version file this build checks, set when it was built
// (JOINCLIP_VERSION_FILE_URL); empty for a build that never checks.
[[nodiscard]] QUrl versionFileAddress();

struct UpdateCheckRequest final {
    QUrl address;
    // The running version's number (versionNumber of its text).
    std::int32_t ourNumber = 0;
    // The whole fetch, from asking to the last byte.
    std::chrono::milliseconds timeout{10000};
};

struct UpdateCheckOutcome final {
    enum class Status {
        Newer,      // a version with a higher number is published
        Current,    // the published number is ours or lower
        Unreadable, // the file came but is not a version file for us
        Failed,     // no file: the connection failed, timed out, was refused or cancelled
    };
    Status status = Status::Failed;
    PublishedVersion published; // for Newer and Current
    media::Error failure;       // for Failed
};

// Fetches the version file (never from a cache; at most one megabyte) and
// compares its number with ours.
[[nodiscard]] UpdateCheckOutcome checkForUpdate(const UpdateCheckRequest& request,
                                                const std::function<bool()>& isCancelled = {});

} // namespace net
