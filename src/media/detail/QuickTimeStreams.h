#pragma once

// Private to src/media: what a QuickTime or MPEG-4 file's streams are, told
// by our own reading of its movie header, so that opening such a file (and
// joining it without re-encoding) needs neither FFmpeg nor a decoder.

#include "media/Movie.h"
#include "media/Time.h"
#include "media/quicktime/SourceIndex.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace media::detail {

// One track of the file, as FFmpeg's QuickTime reader would present it as a
// stream: streams are numbered as the file lists its tracks.
struct StreamDescription final {
    MediaType mediaType = MediaType::Other;
    bool usable = false;   // becomes a track of the movie
    std::string codecName; // FFmpeg's short codec name
    std::int32_t timeScale = 0;
    TimeRange range;       // presentation start and length, in timeScale
    Size displaySize;      // video: pixel aspect and rotation applied
    int clockwiseRotation = 0;

    // What decides whether two streams can follow each other in one track.
    quicktime::FourCC codecTag = 0;
    std::vector<std::uint8_t> configuration; // the decoder's configuration record (avcC, esds's, ...)
    int width = 0, height = 0;               // video: coded size
    int sampleRate = 0, channels = 0;        // sound
    bool isPcm = false;
};

// The streams of an indexed file; none when the file holds anything whose
// reading we leave to FFmpeg (an unknown codec, several media edits,
// chapters, a gapless tag, a scaling display matrix...).
[[nodiscard]] std::optional<std::vector<StreamDescription>>
describeQuickTimeStreams(const quicktime::SourceIndex& index);

// Whether two described streams share codec, size or rate, and configuration
// record, so that their samples can follow each other in one track. False
// also when that cannot be told without FFmpeg.
[[nodiscard]] bool sameDescribedParameters(const StreamDescription& a, const StreamDescription& b);

// Whether the first bytes of a file look like a QuickTime or MPEG-4 file's first atom.
[[nodiscard]] bool looksLikeQuickTime(const std::uint8_t* bytes, std::size_t size);

} // namespace media::detail
