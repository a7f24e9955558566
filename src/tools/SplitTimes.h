#pragma once

#include "media/Time.h"

#include <QString>

#include <vector>

namespace tools {

// The times the splitter cuts a movie at, as the user collects them: kept in
// ascending order of the instants they denote. The list belongs to the
// window, not to a movie: choosing another movie keeps it.
class SplitTimes final {
public:
    // Adds a time after any equal ones; answers its row. The same time may
    // stand in the list more than once.
    int add(const media::Time& time);
    // Removes the rows named (in any order; rows outside the list are ignored).
    void removeRows(std::vector<int> rows);

    int count() const { return static_cast<int>(m_times.size()); }
    const std::vector<media::Time>& times() const { return m_times; }
    // The row's time in its text form, as the list shows it.
    QString text(int row) const;

    // The span the piece starting at the row's time covers in a movie of
    // length `end`: up to the next later time in the list, or to the end.
    [[nodiscard]] media::TimeRange pieceSpan(int row, const media::Time& end) const;
    // Where a split cuts a movie of length `end`: each distinct time of the
    // list strictly between its start and its end, in order. A time given
    // twice cuts once (no empty piece whose file the next piece would take
    // over), and a time at or past the end cuts nothing (no empty last piece).
    [[nodiscard]] std::vector<media::Time> cutsWithin(const media::Time& end) const;

private:
    std::vector<media::Time> m_times;
};

} // namespace tools
