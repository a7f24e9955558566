#pragma once

// Private to src/media: one still picture encoded once as MPEG-4 Part 2 video
// (FFmpeg's "mpeg4" encoder, QuickTime tag 'mp4v'), to be shown as a single
// sample for as long as the movie needs it.

#include "media/Time.h"
#include "media/detail/FFmpeg.h"
#include "media/transcode/EncoderSetup.h"

#include <expected>
#include <memory>

namespace media::transcode {

class OutputMovie;

class StillPictureEncoder final {
public:
    // High quality: the quantiser of every macroblock is 2 on MPEG-4's scale
    // of 1 (finest) to 31, the usual choice for near-transparent pictures.
    // Sent once, the cost is small: the 640x480 sun takes about 19 KB.
    static constexpr int kHighQualityQuantiser = 2;

    // Encodes `picture` (any pixel format FFmpeg's scaler reads), to last `duration`.
    [[nodiscard]] static std::expected<std::unique_ptr<StillPictureEncoder>, Error>
    open(const AVFrame& picture, const Time& duration, OutputMovie& output);

    StillPictureEncoder(const StillPictureEncoder&) = delete;
    StillPictureEncoder& operator=(const StillPictureEncoder&) = delete;
    ~StillPictureEncoder();

    // Adds the video stream to the output; before the output begins.
    [[nodiscard]] std::expected<void, Error> addStream();
    // Writes the picture's one sample at time 0; after the output began.
    [[nodiscard]] std::expected<void, Error> write();

private:
    explicit StillPictureEncoder(OutputMovie& output) : m_output(output) {}
    [[nodiscard]] std::expected<void, Error> encode(const AVFrame& picture);

    OutputMovie& m_output;
    OpenedEncoder m_encoder; // its packet holds the picture's one sample once encoded
    std::int64_t m_durationTicks = 0;
};

} // namespace media::transcode
