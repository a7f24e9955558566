#pragma once

#include "media/quicktime/Chapter.h"
#include "media/quicktime/FourCC.h"
#include "media/quicktime/SourceIndex.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

namespace media::quicktime {

enum class OutputKind {
    QuickTime, // .mov, brand 'qt  '
    Mpeg4,     // .mp4, brands 'isom' and 'mp42'
};

enum class DataPlacement {
    SelfContained, // the samples are copied into the new file
    Referring,     // the new file points at the sources' samples
};

// A file whose samples the new movie uses. Its index is read from the file
// when the request does not carry one.
struct WriteSource final {
    std::filesystem::path path;
    std::shared_ptr<const SourceIndex> index;
    // Copied into the new file even when the movie refers to its other
    // sources: a temporary file made for this write (sound stretched in
    // time, samples taken out of a file we cannot point into).
    bool embedded = false;
};

// One entry of an output track's edit list: either an empty edit (a gap of
// `duration` movie units) or a run of samples [firstSample, firstSample +
// sampleCount) of one track of one source, presented from `mediaStart` for
// `mediaDuration` (both in that source track's media units, as the source's
// own edit list gives them: AAC priming skipped at the start, padding at the
// end) and lasting `duration` movie units. A duration that differs from the
// media duration scales the segment: its edit gets the media rate that
// stretches the media over the duration.
struct Segment final {
    std::int32_t source = -1; // index into WriteRequest::sources; -1 for an empty edit
    std::uint32_t track = 0;  // index into that source's SourceIndex::tracks
    std::uint64_t firstSample = 0;
    std::uint64_t sampleCount = 0;
    std::int64_t mediaStart = 0;
    std::int64_t mediaDuration = 0;
    std::int64_t duration = 0;

    bool isEmpty() const { return source < 0; }
    static Segment empty(std::int64_t duration) {
        Segment gap;
        gap.duration = duration;
        return gap;
    }
};

struct OutputTrack final {
    FourCC handlerType = 0; // 'vide', 'soun', ...
    // Units per second of the track's sample times. Segments from source
    // tracks of another scale have their sample times converted (rounded to
    // the nearest unit, without drift).
    std::int32_t mediaTimeScale = 0;
    std::uint16_t language = 0x55c4; // packed ISO 639-2/T ("und") or a Macintosh language code
    bool enabled = true;
    std::uint32_t width = 0;  // 16.16
    std::uint32_t height = 0; // 16.16
    Matrix matrix = kIdentityMatrix;
    std::int16_t volume = 0; // 8.8: 0x0100 for sound
    std::vector<Segment> segments;
};

struct WriteRequest final {
    std::vector<WriteSource> sources;
    std::int32_t movieTimeScale = 600;
    std::int64_t posterTime = 0; // movie units: the frame that stands for the movie
    OutputKind kind = OutputKind::QuickTime;
    DataPlacement placement = DataPlacement::SelfContained;
    std::vector<OutputTrack> tracks;
    // Written as a chapter track when the movie has a video track.
    std::vector<Chapter> chapters;
    // Called with the fraction written so far (0 to 1); answering false cancels the write.
    std::function<bool(double fraction)> progress;
};

} // namespace media::quicktime
