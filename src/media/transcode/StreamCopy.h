#pragma once

// Private to src/media: moving streams into a QuickTime movie without
// decoding them, for a movie that must hold samples of a file of another
// container (Matroska, AVI, MPEG-TS...).

#include "media/Error.h"

#include <expected>
#include <filesystem>
#include <functional>
#include <vector>

namespace media::transcode {

// Whether QuickTime movies can carry every one of these streams of `file`
// as they are coded.
[[nodiscard]] bool quickTimeCanCarry(const std::filesystem::path& file, const std::vector<int>& streams);

// Copies the whole of these streams of `file` into a QuickTime movie at
// `output` (an existing file, which is replaced), packets as they are,
// timestamps kept: FFmpeg's muxer writes the edit lists that skip what
// plays before time zero (sound priming). `progress` hears the fraction
// copied; answering false cancels (ECANCELED).
[[nodiscard]] std::expected<void, Error>
copyStreamsToQuickTime(const std::filesystem::path& file, const std::vector<int>& streams,
                       const std::filesystem::path& output,
                       const std::function<bool(double fraction)>& progress);

} // namespace media::transcode
