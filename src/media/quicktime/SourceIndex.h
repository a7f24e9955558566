#pragma once

#include "media/quicktime/FourCC.h"
#include "media/quicktime/SampleList.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace media::quicktime {

enum class Handler { Video, Sound, Text, Subtitle, Other };

// 'vide', 'soun', 'text', 'sbtl' (and 'subt'), anything else.
Handler handlerOf(FourCC handlerType);

// A track's display matrix as stored: a, b, u, c, d, v, x, y, w; u, v and w
// are 2.30 fixed point, the others 16.16.
using Matrix = std::array<std::int32_t, 9>;
inline constexpr Matrix kIdentityMatrix{0x10000, 0, 0, 0, 0x10000, 0, 0, 0, 0x40000000};

// One entry of a track's edit list. A media time of -1 marks an empty edit.
struct EditListEntry final {
    std::int64_t duration = 0;        // movie units
    std::int64_t mediaTime = 0;       // media units, presentation time
    std::int32_t mediaRate = 0x10000; // 16.16
    bool isEmpty() const { return mediaTime == -1; }
};

// One data reference: where the samples of the descriptions that name it live.
struct DataReference final {
    FourCC type = 0;                // 'url ', 'alis', 'urn ', ...
    bool selfContained = true;      // the samples are in the movie file itself
    std::vector<std::uint8_t> data; // the entry's bytes after its version and flags
};

// Sound stored one PCM frame per sample (QuickTime's uncompressed sound): the
// sample list then holds one entry per chunk, each lasting its frames, and
// these are the values the size and time tables repeat for every frame.
struct PackedSamples final {
    std::uint32_t sampleSize = 0;     // what the size table says of each frame
    std::uint32_t sampleDuration = 0; // what the time table says of each frame
};

struct TrackIndex final {
    std::uint32_t trackId = 0;
    FourCC handlerType = 0;
    Handler handler = Handler::Other;
    std::int32_t mediaTimeScale = 0;
    std::uint64_t mediaDuration = 0; // media header, media units
    std::uint16_t language = 0;      // as stored: packed ISO 639-2/T or a Macintosh language code

    // Track header, values as stored.
    std::uint32_t flags = 0;    // 1 enabled, 2 in movie, 4 in preview
    std::uint64_t duration = 0; // movie units
    std::int16_t layer = 0;
    std::int16_t alternateGroup = 0;
    std::int16_t volume = 0; // 8.8
    Matrix matrix = kIdentityMatrix;
    std::uint32_t width = 0;  // 16.16
    std::uint32_t height = 0; // 16.16

    // Each sample description entry verbatim, from its size field on.
    std::vector<std::vector<std::uint8_t>> sampleDescriptions;
    // The media information header atom verbatim ('vmhd', 'smhd', 'gmhd', 'nmhd', ...).
    std::vector<std::uint8_t> mediaInformationHeader;
    std::vector<EditListEntry> editList;
    std::vector<DataReference> dataReferences;
    SampleList samples;
    std::optional<PackedSamples> packed;
    // The tracks this one names as its chapters ('chap' track reference).
    std::vector<std::uint32_t> chapterTrackIds;

    // The codec of a sample description: its type field ('avc1', 'mp4a', ...), 0 when absent.
    FourCC codec(std::size_t descriptionIndex) const;
};

struct SourceIndex final {
    FourCC majorBrand = 0; // 0 when the file has no 'ftyp'
    std::int32_t movieTimeScale = 0;
    std::uint64_t movieDuration = 0; // movie units
    std::uint64_t fileSize = 0;
    std::vector<TrackIndex> tracks;
    // The movie's user data holds iTunes' gapless tag ("iTunSMPB"), or a
    // chapter list of its own ('chpl').
    bool hasGaplessTag = false;
    bool hasChapterList = false;
};

} // namespace media::quicktime
