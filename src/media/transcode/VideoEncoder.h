#pragma once

// Private to src/media: the video encoder of a transcoded join. Frames come
// with their own output timestamps (variable frame rates stay as they are
// where encoder and container allow it); each lasts until the next one, and
// a frame held longer than a second (at a constant rate: than one frame time)
// is repeated so that players and seeking always find one nearby.

#include "media/detail/FFmpeg.h"
#include "media/transcode/EncoderSetup.h"
#include "media/transcode/JoinPlan.h"

#include <cstdint>
#include <expected>
#include <map>
#include <memory>

namespace media::transcode {

class OutputMovie;

struct VideoFormat final {
    int width = 0;
    int height = 0;
    AVPixelFormat pixelFormat = AV_PIX_FMT_NONE;
};

class VideoEncoder final {
public:
    [[nodiscard]] static std::expected<std::unique_ptr<VideoEncoder>, Error>
    open(const EncoderSettings& settings, const JoinPlan& plan, OutputMovie& output);
    // Adds the encoder's stream to the output; before the output begins.
    [[nodiscard]] std::expected<void, Error> addStream();

    VideoEncoder(const VideoEncoder&) = delete;
    VideoEncoder& operator=(const VideoEncoder&) = delete;
    ~VideoEncoder();

    // What frames must be: the natural size (even where the pixel format needs it) and pixel format.
    const VideoFormat& format() const { return m_format; }
    AVRational timeBase() const { return m_encoder.context->time_base; }
    // The output's frame rate: its frame grid.
    AVRational frameRate() const { return m_encoder.context->framerate; }
    // Once the output has begun: where the container keeps coarser times
    // than the encoder's (GIF's hundredths, Matroska's milliseconds), frames
    // land on the container's ticks, so timestamps stay strictly increasing.
    void followStreamTimeBase();

    // Shows `frame` (in format()) from `pts` until the next frame placed. A frame
    // placed at the same time as the one before replaces it; one placed earlier is dropped.
    // `startsSegment` makes it a key frame, so that a join point can be found quickly.
    [[nodiscard]] std::expected<void, Error> place(detail::FramePtr frame, std::int64_t pts,
                                                   bool startsSegment);
    // Keeps showing the current frame up to `pts`, repeating it where it has
    // lasted a second, so a long still is encoded as time goes by.
    [[nodiscard]] std::expected<void, Error> holdUntil(std::int64_t pts);
    // A black frame in format().
    [[nodiscard]] std::expected<detail::FramePtr, Error> makeBlackFrame() const;
    // The last frame lasts until `end`; then the encoder is drained.
    [[nodiscard]] std::expected<void, Error> finish(std::int64_t end);

private:
    VideoEncoder(OutputMovie& output) : m_output(output) {}

    [[nodiscard]] std::expected<void, Error> sendPending(std::int64_t until);
    [[nodiscard]] std::expected<void, Error> send(AVFrame* frame, std::int64_t duration);
    [[nodiscard]] std::expected<void, Error> drain();

    OutputMovie& m_output;
    OpenedEncoder m_encoder;
    VideoFormat m_format;
    std::int64_t m_maxFrameDuration = 0;
    AVRational m_grid{0, 1}; // the container's tick where coarser than the encoder's, in seconds
    detail::FramePtr m_pending;
    std::int64_t m_lastSentPts = 0;
    bool m_sentAny = false;
    // Each frame's duration by its timestamp, for the packet the encoder makes of it.
    std::map<std::int64_t, std::int64_t> m_durations;
};

} // namespace media::transcode
