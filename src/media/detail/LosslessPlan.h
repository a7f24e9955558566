#pragma once

// Private to src/media: a movie's tracks as a request to our QuickTime writer,
// which copies (or refers to) samples without decoding them. See
// MovieWrite.cpp for when a movie can be written so.

#include "media/Error.h"
#include "media/Movie.h"
#include "media/detail/TemporaryFile.h"
#include "media/quicktime/WriteRequest.h"

#include <expected>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

namespace media {

struct LosslessPlan final {
    quicktime::WriteRequest request;
    // Files made for this write beside the destination (stretched sound,
    // parts of a referring movie it cannot point into); removed when the plan goes.
    std::vector<detail::TemporaryFile> scratch;
};

// Plans writing `tracks` to `destination` as a QuickTime/MPEG-4 movie. None
// when the tracks cannot be written without re-encoding them whole; an error
// when preparing a part failed (or `progress` answered false: ECANCELED).
// `progress` hears the preparation's fraction done (0 to 1) when there is any.
[[nodiscard]] std::expected<std::optional<LosslessPlan>, Error>
planLosslessWrite(const std::vector<Track>& tracks, std::int32_t movieTimeScale, WritePlacement placement,
                  const std::filesystem::path& destination, const std::function<bool(double)>& progress);

// Whether planLosslessWrite has work to do before writing (stretching sound,
// copying or re-encoding parts), so that progress can leave room for it.
[[nodiscard]] bool needsPreparation(const std::vector<Track>& tracks, WritePlacement placement);

} // namespace media
