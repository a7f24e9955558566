#pragma once

#include "media/Error.h"
#include "media/quicktime/SourceIndex.h"

#include <cstdint>
#include <expected>

namespace media::quicktime {

// A copy of a source's index whose video tracks play `numerator / denominator`
// times as long: sample durations, composition offsets, media and track
// durations and edit lists are scaled, each from the exact running time so
// that rounding never accumulates. The sample bytes stay where they are, so
// the copy is written from the same file. Sound and other tracks are left as
// they are (their samples cannot be retimed without changing their pitch).
//
// When scaled frame durations would round to less than a few units, the
// track's media time scale is multiplied so that every frame keeps a
// duration of its own. EINVAL for a factor that is not positive, EOVERFLOW
// when a scaled time no longer fits the sample tables.
[[nodiscard]] std::expected<SourceIndex, Error> retimedIndex(const SourceIndex& index, std::int64_t numerator,
                                                             std::int64_t denominator);

} // namespace media::quicktime
