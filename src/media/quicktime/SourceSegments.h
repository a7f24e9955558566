#pragma once

#include "media/Error.h"
#include "media/quicktime/SourceIndex.h"
#include "media/quicktime/WriteRequest.h"

#include <cstdint>
#include <expected>
#include <optional>
#include <vector>

namespace media::quicktime {

// An output track with a source track's handler, time scale, language,
// enabled flag, size, matrix and volume, and no segments yet.
OutputTrack outputTrackLike(const TrackIndex& track);

struct SampleRange final {
    std::uint64_t first = 0;
    std::uint64_t count = 0;
};

// The samples a player decodes to present [mediaStart, mediaStart +
// mediaDuration) of a track (media units, presentation times): from the sync
// sample at or before the first sample presented in the range (one sample
// more before it for sound, whose decoders need one frame to settle) to the
// last sample presented in it, in decode order. None when no sample is
// presented in the range.
std::optional<SampleRange> samplesForMediaRange(const TrackIndex& track, std::int64_t mediaStart,
                                                std::int64_t mediaDuration);

// The segments that play a source track as its own movie plays it: one per
// entry of its edit list (empty edits kept as gaps), durations converted from
// the source's movie time scale to `movieTimeScale` without drift. An edit
// list with one media edit takes all the track's samples, priming and padding
// included, so the edit alone trims them. Without an edit list the track plays
// all its samples from media time 0.
std::vector<Segment> segmentsForTrack(const SourceIndex& index, std::uint32_t track, std::int32_t source,
                                      std::int32_t movieTimeScale);

// Appends source `source` of the request (its index is read, and kept in the
// request, when absent) at the end of the movie the request describes: each
// video and sound track of the source goes to the output track of the same
// kind and rank, starting where the longest output track ends, so every join
// point stays in sync. A request without tracks gets one per video and sound
// track of this source. Output tracks the source has nothing for are left
// alone (the next source pads them).
[[nodiscard]] std::expected<void, Error> appendWholeSource(WriteRequest& request, std::int32_t source);

} // namespace media::quicktime
