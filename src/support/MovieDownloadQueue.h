#pragma once

#include <QString>
#include <optional>

namespace support {

// Where web addresses dropped on the file table go: the download queue that
// fetches each movie into the download folder and adds it to the list.
class MovieDownloadQueue {
public:
    virtual ~MovieDownloadQueue() = default;
    // Queues `address`, remembering the link title that came with it (none
    // when the drop held no title); the first address queued starts at once.
    virtual void enqueueMovieURL(const QString& address, const std::optional<QString>& linkTitle) = 0;
};

} // namespace support
