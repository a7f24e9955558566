#pragma once

// Private to src/media: the clock of a transcoded movie's video, chosen
// within what its encoder and its container accept.

#include "media/detail/FFmpeg.h"
#include "media/transcode/TranscodeJoin.h"

namespace media::transcode {

struct VideoTiming final {
    AVRational timeBase{1, 90000};
    AVRational frameRate{25, 1};
    // Every frame time filled, one frame per tick of timeBase (a picture
    // held is repeated): for encoders that know only fixed rates and for
    // AVI, which keeps no times, only frames at a fixed rate.
    bool constantRate = false;
};

// `sourceTimeBase` holds every source frame's time exactly where it can;
// `sourceRate` is the fastest source frame rate. The settings' fixed frame
// rate wins; an encoder with a list of rates gets the nearest one; AVI gets
// the source rate; GIF frames last whole fiftieths of a second; otherwise
// the sources' own times are kept, and an encoder whose bitstream counts
// time in 16 bits (MPEG-4 Part 2, H.263) gets a time base it can count in.
VideoTiming chooseVideoTiming(const EncoderSettings& settings, AVRational sourceTimeBase,
                              AVRational sourceRate);

} // namespace media::transcode
