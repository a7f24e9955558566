#include "media/transcode/ProgressReporter.h"

#include <algorithm>
#include <cerrno>

namespace media::transcode {

namespace {

constexpr double kReportInterval = 0.25; // seconds of output

} // namespace

Error cancelledError() {
    return Error{ECANCELED, "the join was cancelled"};
}

ProgressReporter::ProgressReporter(std::function<bool(double)> callback, const Time& total)
    : m_callback(std::move(callback)), m_total(seconds(total)) {}

std::expected<void, Error> ProgressReporter::reach(double seconds) {
    if (m_reported >= 0 && seconds < m_reported + kReportInterval)
        return {};
    m_reported = seconds;
    return tell(m_total > 0 ? std::clamp(seconds / m_total, 0.0, 1.0) : 0.0);
}

double ProgressReporter::nextDue() const {
    return m_reported < 0 ? 0 : m_reported + kReportInterval;
}

std::expected<void, Error> ProgressReporter::complete() {
    return tell(1.0);
}

std::expected<void, Error> ProgressReporter::tell(double fraction) {
    if (m_callback && !m_callback(fraction))
        return std::unexpected(cancelledError());
    return {};
}

} // namespace media::transcode
