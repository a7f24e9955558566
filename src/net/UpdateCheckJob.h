#pragma once

#include "net/UpdateCheck.h"
#include "support/Job.h"

namespace net {

// The update check as a job; it fails (with the outcome's failure) only when
// no version file came.
class UpdateCheckJob final : public support::Job {
    Q_OBJECT
public:
    explicit UpdateCheckJob(UpdateCheckRequest request, QObject* parent = nullptr)
        : Job(parent), m_request(std::move(request)) {}

    const UpdateCheckOutcome& outcome() const { return m_outcome; }

protected:
    std::expected<void, media::Error> run() override;

private:
    UpdateCheckRequest m_request;
    UpdateCheckOutcome m_outcome;
};

} // namespace net
