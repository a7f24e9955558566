#pragma once

// Private to src/media: what a transcoded join will make, worked out from the
// request and the sources before anything is written.

#include "media/detail/FFmpeg.h"
#include "media/transcode/TranscodeJoin.h"

#include <cstdint>
#include <expected>
#include <vector>

namespace media::transcode {

// Where one segment lands in the output.
struct SegmentPlacement final {
    const Segment* segment = nullptr;
    Time start; // the sum of the durations before it, on the output's frame grid when it has video
    Time end;
    std::int64_t videoStart = 0; // in JoinPlan::videoTimeBase
    std::int64_t videoEnd = 0;
};

struct JoinPlan final {
    std::vector<SegmentPlacement> placements;
    Time duration;
    bool hasVideo = false;
    bool hasSound = false;
    int width = 0;
    int height = 0;
    // The video encoder's clock (see VideoTiming.h): fine enough to hold
    // every source frame's timestamp exactly when the encoder and container
    // allow it, else one tick per frame of a constant rate.
    AVRational videoTimeBase{1, 90000};
    // The fastest source frame rate, or the constant rate: a hint for the encoder's rate control.
    AVRational frameRate{25, 1};
    bool constantFrameRate = false;
    int sampleRate = 0;
    int channels = 0;
    // The request's chapters, those starting at a join point moved with it.
    std::vector<Chapter> chapters;
};

// Checks the request and reads the sources' stream parameters. Errors name the file at fault.
[[nodiscard]] std::expected<JoinPlan, Error> makeJoinPlan(const Request& request);

// The output sample at which `time` falls, rounded to the nearest.
std::int64_t sampleAt(const Time& time, int sampleRate);
// `time` in `timeBase` units, rounded to the nearest.
std::int64_t ticksAt(const Time& time, AVRational timeBase);

// How much faster than its source a segment plays (2: twice as fast); 1 for
// a picture, a gap, or a duration within a millisecond of its source range's
// (what converting between time scales leaves), which plays as it is.
double segmentTempo(const Segment& segment);

} // namespace media::transcode
