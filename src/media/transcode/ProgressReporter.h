#pragma once

// Private to src/media: tells the request's progress callback how much of the
// output is done, every quarter second of output, and whether to go on.

#include "media/Error.h"
#include "media/Time.h"

#include <expected>
#include <functional>

namespace media::transcode {

class ProgressReporter final {
public:
    ProgressReporter(std::function<bool(double)> callback, const Time& total);

    // The output is written up to `seconds`; answers the cancellation error when the callback says stop.
    [[nodiscard]] std::expected<void, Error> reach(double seconds);
    // Where the next report is due, in seconds of output.
    double nextDue() const;
    // The whole output is written.
    [[nodiscard]] std::expected<void, Error> complete();

private:
    [[nodiscard]] std::expected<void, Error> tell(double fraction);

    std::function<bool(double)> m_callback;
    double m_total = 0;
    double m_reported = -1;
};

// The error a cancelled join answers.
Error cancelledError();

} // namespace media::transcode
