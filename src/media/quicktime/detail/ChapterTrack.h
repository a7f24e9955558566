#pragma once

// Private to src/media/quicktime: the chapter track, a QuickTime text track
// laid out as FFmpeg's mov muxer writes chapters, which FFmpeg and QuickTime
// players read back as chapters.

#include "media/quicktime/Chapter.h"
#include "media/quicktime/detail/FileLayout.h"

#include <optional>
#include <vector>

namespace media::quicktime::detail {

// The chapter track for `chapters`, or none when no chapter has a title,
// lasting `movieDuration` (movie units) like the movie's other tracks: the
// last chapter is lengthened or shortened to end with it. Its own samples
// still need their place in the media data.
[[nodiscard]] std::expected<std::optional<TrackLayout>, Error>
chapterTrackLayout(const std::vector<Chapter>& chapters, std::int32_t movieTimeScale,
                   std::int64_t movieDuration);

// One sample: the title's length (16 bits), its UTF-8 bytes, and an 'encd'
// atom saying the text is UTF-8.
ByteVector chapterSample(const std::string& title);

} // namespace media::quicktime::detail
