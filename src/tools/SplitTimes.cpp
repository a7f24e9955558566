#include "tools/SplitTimes.h"

#include "support/EraseRows.h"

#include <algorithm>

namespace tools {

namespace {

bool earlier(const media::Time& a, const media::Time& b) {
    return media::compareTimes(a, b) < 0;
}

} // namespace

int SplitTimes::add(const media::Time& time) {
    const auto row = std::upper_bound(m_times.begin(), m_times.end(), time, earlier) - m_times.begin();
    m_times.insert(m_times.begin() + row, time);
    return static_cast<int>(row);
}

void SplitTimes::removeRows(std::vector<int> rows) {
    support::eraseRows(m_times, std::move(rows));
}

QString SplitTimes::text(int row) const {
    return QString::fromStdString(media::timeToString(m_times.at(static_cast<std::size_t>(row))));
}

media::TimeRange SplitTimes::pieceSpan(int row, const media::Time& end) const {
    const media::Time& start = m_times.at(static_cast<std::size_t>(row));
    media::Time until = end;
    for (std::size_t next = static_cast<std::size_t>(row) + 1; next < m_times.size(); ++next) {
        if (earlier(start, m_times[next])) {
            until = m_times[next];
            break;
        }
    }
    if (earlier(end, until))
        until = end;
    if (earlier(until, start))
        until = start; // a time past the end selects nothing
    return media::makeTimeRange(start, media::subtractTimes(until, start));
}

std::vector<media::Time> SplitTimes::cutsWithin(const media::Time& end) const {
    std::vector<media::Time> cuts;
    for (const media::Time& time : m_times) {
        if (!earlier(media::zeroTime(), time) || !earlier(time, end))
            continue;
        if (!cuts.empty() && media::compareTimes(cuts.back(), time) == 0)
            continue;
        cuts.push_back(time);
    }
    return cuts;
}

} // namespace tools
