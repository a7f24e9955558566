#pragma once

// Private to src/media/quicktime: the timing of a new track, kept in its
// sample tables so that the track needs a single edit (after an optional
// empty edit). FFmpeg, GStreamer and web browsers misread longer edit lists
// (priming not skipped after the first edit, stray frames, lost sound), so a
// join point is never an edit boundary.
//
// - Picture: each segment starts exactly where the movie places it; the last
//   frame before a join point (or a gap) is lengthened or shortened so that
//   the next segment's first frame comes on time.
// - Sound: frames keep their durations (a decoder plays every sample of a
//   frame whatever the tables say). At each join point whole frames are
//   dropped (the next source's priming, the last one's padding) or, to fill
//   a gap, the next source's first priming frame is played again, choosing
//   what keeps the sound closest to where the movie places it. The error is
//   measured afresh against the movie's time at every join point, so it
//   never adds up along the list; it stays within half a frame unless a gap
//   cannot be filled (a source without priming after a gap).
// - Uncompressed sound stored as packed frames is laid end to end, PCM cut
//   at the exact frames each segment starts and ends (within a chunk);
//   a gap before a segment (a source without sound, sound shorter than its
//   picture) is filled with frames of silence in the same format, which a
//   self-contained movie stores once and lists as often as needed.

#include "media/Error.h"
#include "media/quicktime/detail/FileLayout.h"

#include <expected>

namespace media::quicktime::detail {

// Fills each segment's output decode start and length (and, for sound, the
// samples kept and the repeats) and the track's edit list.
[[nodiscard]] std::expected<void, Error> timeTrack(const FileLayout& layout, TrackLayout& track);

} // namespace media::quicktime::detail
