#pragma once

// Private to src/media/quicktime: the samples of a laid-out track, in the new
// file's order, with their new places and times.

#include "media/quicktime/detail/FileLayout.h"

#include <cstdint>

namespace media::quicktime::detail {

struct OutputSample final {
    std::uint64_t offset = 0; // in the new file (referring: in the source file)
    std::uint32_t size = 0;
    std::uint32_t duration = 0; // output media units
    std::int32_t compositionOffset = 0;
    std::uint32_t description = 0; // 0-based output description index
    bool sync = true;
    bool startsChunk = true;
};

class OutputSampleCursor final {
public:
    // `mediaData`: where the new file's media data begins.
    OutputSampleCursor(const FileLayout& layout, const TrackLayout& track, std::uint64_t mediaData);

    // The next sample; false after the last.
    [[nodiscard]] bool next(OutputSample& sample);

private:
    [[nodiscard]] bool nextOwn(OutputSample& sample);
    // The part of the segment's next chunk of PCM that it plays; false when none.
    [[nodiscard]] bool nextCutFrames(const SegmentLayout& part, OutputSample& sample);

    const FileLayout& m_layout;
    const TrackLayout& m_track;
    std::uint64_t m_mediaData;
    std::size_t m_segment = 0;
    std::uint64_t m_inSegment = 0;     // samples of the segment already visited
    std::int64_t m_sourceElapsed = 0;  // source media units since the segment's first sample
    std::int64_t m_outputElapsed = 0;  // output units since the segment's first sample
    std::int64_t m_repeatedLength = 0; // output units of the segment's repeated first sample
    std::int64_t m_silenceListed = 0;  // frames of the segment's silence already visited
    bool m_havePrevious = false;
    std::uint64_t m_previousEnd = 0;
    std::uint32_t m_previousDescription = 0;
};

} // namespace media::quicktime::detail
