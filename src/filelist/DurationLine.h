#pragma once

#include "media/Time.h"

#include <QString>
#include <QtGlobal>
#include <optional>
#include <vector>

namespace filelist {

// The total-duration line of the main window for the entries' durations,
// written as people read them: "Total Duration: T", followed by
// ", Total Scaled Duration: S" when a desired duration of more than 0 seconds
// is given and the total is not zero (a zero total cannot be scaled). None
// when the sum cannot be written.
[[nodiscard]] std::optional<QString> durationLine(const std::vector<media::Time>& durations,
                                                  std::optional<qint64> desiredSeconds);

} // namespace filelist
