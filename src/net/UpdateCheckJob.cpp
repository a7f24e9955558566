#include "net/UpdateCheckJob.h"

namespace net {

std::expected<void, media::Error> UpdateCheckJob::run() {
    m_outcome = checkForUpdate(m_request, [this] { return isCancelled(); });
    if (m_outcome.status == UpdateCheckOutcome::Status::Failed)
        return std::unexpected(m_outcome.failure);
    return {};
}

} // namespace net
