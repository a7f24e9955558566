#pragma once

// Private to src/media: sound played faster or slower with its pitch kept,
// for writing a movie whose segments were scaled in time.

#include "media/Error.h"
#include "media/Time.h"

#include <expected>
#include <filesystem>
#include <functional>

namespace media::transcode {

struct SoundStretch final {
    std::filesystem::path file; // the source
    int stream = -1;            // its sound stream
    TimeRange sourceRange;      // on the stream's own timeline
    Time duration;              // how long the range plays once stretched
    // Called with the fraction done; answering false cancels (ECANCELED).
    std::function<bool(double fraction)> progress;
};

// Writes the stretched sound as the one AAC track of a QuickTime movie at
// `output` (an existing file, which is replaced): the range decoded, its
// tempo changed with its pitch kept (see tempoChain), and cut or padded with
// silence to exactly `duration`.
[[nodiscard]] std::expected<void, Error> writeStretchedSound(const SoundStretch& stretch,
                                                             const std::filesystem::path& output);

} // namespace media::transcode
