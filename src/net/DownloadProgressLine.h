#pragma once

#include <QString>
#include <QtGlobal>
#include <cstdint>

namespace net {

// The download bar's line, in the user's language: "42 percent, (1,234,567 of
// 2,939,000 bytes, Elapsed: 5 secs , Remaining: 7 secs )". More bytes than
// announced read as 100 percent with nothing remaining. Main thread only
// (texts are looked up).
[[nodiscard]] QString downloadProgressLine(qint64 received, qint64 expected, std::uint32_t elapsedSeconds);

// The status line while downloads are queued: how many wait behind the
// running one ("0 URLs queued for download.", "1 URL queued for download.").
[[nodiscard]] QString queueCountLine(int queued);

} // namespace net
