#pragma once

// Private to src/media/quicktime: everything decided before a byte of a new
// movie is written. Sample tables are not built here: they are streamed from
// the sources' indexes when the movie atom is written.

#include "media/Error.h"
#include "media/quicktime/SourceIndex.h"
#include "media/quicktime/WriteRequest.h"
#include "media/quicktime/detail/BigEndian.h"

#include <cstdint>
#include <expected>
#include <memory>
#include <optional>
#include <vector>

namespace media::quicktime::detail {

// A span of one source's bytes copied into the new file's media data.
struct CopyRun final {
    std::int32_t source = 0;
    std::uint64_t sourceStart = 0;
    std::uint64_t sourceEnd = 0;
    std::uint64_t outputStart = 0; // from the start of the media data
};

struct SegmentLayout final {
    Segment segment;
    std::int32_t run = -1;                     // the copy run holding its samples (self-contained)
    std::vector<std::uint32_t> descriptionMap; // source description index -> output description index
    std::int64_t outputDecodeStart = 0;        // output media units
    std::int64_t outputDecodeLength = 0;       // output media units
    // Its last samples are lengthened or shortened to last outputDecodeLength.
    bool fitted = false;
    // Sound: its first sample is played this many more times first (a gap filled with priming).
    std::uint32_t repeats = 0;
    // Packed sound: frames of silence played before its samples (a gap filled).
    std::int64_t silentFrames = 0;
    // PCM cut at any frame: the frames of its samples left out before it
    // starts, and those it plays (-1: all its samples, whole).
    std::int64_t skippedFrames = 0;
    std::int64_t keptFrames = -1;
};

// A sample that is not in any source: chapter titles.
struct OwnSample final {
    ByteVector bytes;
    std::uint32_t duration = 0;
    std::uint64_t outputStart = 0; // from the start of the media data
};

struct OutputReference final {
    FourCC type = makeFourCC("url ");
    std::uint32_t flags = 1; // 1: the samples are in this file
    ByteVector data;
};

struct TrackLayout final {
    OutputTrack attributes; // its segments are not used: see `segments`
    std::uint32_t trackId = 0;
    std::vector<SegmentLayout> segments;
    std::vector<OwnSample> ownSamples; // a chapter track's samples, instead of segments
    std::vector<ByteVector> descriptions;
    std::vector<OutputReference> references;
    ByteVector mediaInformationHeader; // empty: one is made for the handler
    std::optional<PackedSamples> packed;
    std::vector<EditListEntry> editList; // at most an empty edit and one media edit
    std::uint32_t chapterTrackId = 0;    // for the 'tref'/'chap' reference
    bool isChapterTrack = false;
    // Packed sound with gaps: one silent frame's byte, and the block of silent
    // frames in the media data that every gap's chunks point at.
    std::optional<std::uint8_t> silenceByte;
    std::uint64_t silenceBytesPerFrame = 0;
    std::uint64_t silenceFrames = 0; // in the block
    std::uint64_t silenceStart = 0;  // from the start of the media data

    std::int64_t duration() const;      // movie units
    std::int64_t mediaDuration() const; // media units
};

struct FileLayout final {
    OutputKind kind = OutputKind::QuickTime;
    DataPlacement placement = DataPlacement::SelfContained;
    std::int32_t movieTimeScale = 0;
    std::int64_t posterTime = 0; // movie units
    std::vector<std::shared_ptr<const SourceIndex>> indexes; // one per source
    std::vector<bool> embedded;                              // one per source: its samples are copied
    std::vector<TrackLayout> tracks;
    std::vector<CopyRun> runs;
    std::uint64_t copiedBytes = 0;   // the runs together
    std::uint64_t mediaDataSize = 0; // runs and own samples

    std::int64_t duration() const; // movie units
    // Whether the new file holds the samples of a source (or points into it).
    bool copies(std::int32_t source) const {
        return placement == DataPlacement::SelfContained || embedded[static_cast<std::size_t>(source)];
    }
    const TrackIndex& sourceTrack(const Segment& segment) const {
        return indexes[static_cast<std::size_t>(segment.source)]->tracks[segment.track];
    }
};

// Checks the request against the sources' indexes and lays out the new file.
[[nodiscard]] std::expected<FileLayout, Error>
layOutFile(const WriteRequest& request, std::vector<std::shared_ptr<const SourceIndex>> indexes);

} // namespace media::quicktime::detail
