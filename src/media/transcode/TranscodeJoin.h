#pragma once

// Joining movies that differ (codecs, sizes, frame rates, sample rates, still
// pictures, sound-only files) by decoding every segment and encoding one new
// movie: video scaled and letterboxed to one size, sound resampled to one rate
// and channel layout, both in sync at every join point.

#include "media/Error.h"
#include "media/Time.h"

#include <expected>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace media::transcode {

// One source range placed in the output for `duration`. `sourceRange` lies on
// the source file's own timeline (the timestamps its streams share). A
// segment without a video stream shows black, one without a sound stream is
// silent, for its whole duration. A picture is its first frame held for
// `duration` (its source range is not used). A range whose duration differs
// from `duration` plays faster or slower: its frames retimed, its sound
// time-stretched with its pitch kept.
struct Segment final {
    std::filesystem::path file;
    int videoStream = -1;
    int soundStream = -1;
    media::TimeRange sourceRange;
    media::Time duration;
    bool isPicture = false;
};

struct Chapter final {
    std::string title;
    media::Time start;
};

struct EncoderSettings final {
    std::string container = "mov"; // FFmpeg muxer short name
    std::string videoEncoder = "libx264";
    std::string audioEncoder = "aac";
    int videoBitRate = 0; // 0: quality mode (crf)
    int crf = 20;
    std::string preset = "veryfast";
    int audioBitRate = 160000;
    int sampleRate = 0; // 0: the highest among the sources
    int channels = 0;   // 0: the most among the sources, at most 2
    // A fixed output frame rate: each frame lands on the nearest frame time
    // (later ones in the same frame time win). 0: the sources' timing where
    // the encoder and container allow it (see VideoTiming.h).
    int frameRateNum = 0;
    int frameRateDen = 0;
    // Options of the video encoder by FFmpeg's names; one it does not know is an error.
    std::map<std::string, std::string> videoOptions;
};

struct Request final {
    std::vector<Segment> segments;
    // The joined movie's natural size. Each frame is scaled to fit it, keeping
    // its display aspect ratio (pixel aspect and rotation applied; rotated
    // frames are turned upright), and centred on black. An odd width or height
    // is rounded up to even for encoders whose pixel format needs it. 0 x 0
    // with no video in any segment makes a sound-only movie.
    int width = 0;
    int height = 0;
    EncoderSettings settings;
    // Starts in ascending order within the movie; each chapter lasts until the next.
    std::vector<Chapter> chapters;
    // Called with the fraction of the output written, at least every quarter
    // second of output and with 1 at the end; answering false cancels.
    std::function<bool(double fraction)> progress;
};

// Writes the joined movie to `destination`: into a temporary file beside it,
// renamed into place only when complete. A failure or cancellation removes the
// temporary file and leaves an existing destination as it was. Cancelling
// answers an Error with code ECANCELED.
[[nodiscard]] std::expected<void, media::Error> transcodeJoin(const std::filesystem::path& destination,
                                                              const Request& request);

} // namespace media::transcode
