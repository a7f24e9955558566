#pragma once

// Private to src/media/quicktime: reading a track's sample table ('stbl').

#include "media/Error.h"
#include "media/quicktime/SourceIndex.h"
#include "media/quicktime/detail/ByteReader.h"

#include <cstdint>
#include <expected>

namespace media::quicktime::detail {

// What the whole file may claim, shared by its tracks: tables whose every
// sample has the same size need no bytes per sample in the header, so their
// sample counts are held against the file's size before anything is allocated.
// The smallest size a size table may give all samples at once: smaller
// constant sizes are sound stored frame by frame (or damage), refused, so
// the writer lists smaller samples one by one.
inline constexpr std::uint32_t kSmallestConstantSampleSize = 8;

struct ParseLimits final {
    std::uint64_t fileSize = 0;
    std::uint64_t constantSizeSamplesLeft = 0; // starts at fileSize / 8
    bool samplesElsewhereAllowed = false;      // a reference movie read for the files it points into
};

// Fills track.sampleDescriptions and track.samples (and track.packed) from
// the body of a 'stbl' atom. The track's handler must be known already.
[[nodiscard]] std::expected<void, Error> parseSampleTable(Bytes body, TrackIndex& track, ParseLimits& limits);

} // namespace media::quicktime::detail
