#pragma once

#include "support/Job.h"

#include <utility>
#include <variant>

namespace support {

// What most jobs share: the job keeps the request it was made with and the
// outcome its run() fills in, for the window or the command line to read
// once it has finished. A job with nothing to hand back but success keeps
// std::monostate.
template <class Request, class Outcome = std::monostate>
class RequestJob : public Job {
public:
    explicit RequestJob(Request request, QObject* parent = nullptr) : Job(parent), m_request(std::move(request)) {}
    // The work reads the request and fills the outcome: stop it before they go.
    ~RequestJob() override {
        cancel();
        waitForWorker();
    }
    RequestJob(const RequestJob&) = delete;
    RequestJob& operator=(const RequestJob&) = delete;

    [[nodiscard]] const Request& request() const { return m_request; }
    [[nodiscard]] const Outcome& outcome() const { return m_outcome; }

protected:
    Request m_request;
    Outcome m_outcome{};
};

} // namespace support
