#pragma once

// Private to src/media: decodes one segment's source and hands its frames and
// sound to the encoders, placed at the segment's start in the output. A
// segment whose duration differs from its source range's is retimed: its
// frames shown at scaled times, its sound time-stretched with its pitch kept.
// The frames of a source of constant rate land on the output's frame grid,
// as its first frame does (see JoinPlan.h), so no frame of the output is
// shorter than one frame time of the output's rate.

#include "media/detail/FFmpeg.h"
#include "media/transcode/AudioConformer.h"
#include "media/transcode/JoinPlan.h"
#include "media/transcode/SoundTempo.h"
#include "media/transcode/StreamDecoder.h"
#include "media/transcode/VideoFitter.h"

#include <cstdint>
#include <expected>
#include <optional>

namespace media {
class SourceFile;
}

namespace media::transcode {

class AudioEncoder;
class ProgressReporter;
class VideoEncoder;

class SegmentTranscoder final {
public:
    // `video` and `audio` are null when the output has no such track.
    SegmentTranscoder(const SegmentPlacement& placement, VideoEncoder* video, AudioEncoder* audio,
                      ProgressReporter& progress);
    SegmentTranscoder(const SegmentTranscoder&) = delete;
    SegmentTranscoder& operator=(const SegmentTranscoder&) = delete;
    ~SegmentTranscoder();

    [[nodiscard]] std::expected<void, Error> run();

private:
    [[nodiscard]] std::expected<void, Error> openSource();
    [[nodiscard]] std::expected<void, Error> transcodePicture();
    [[nodiscard]] std::expected<void, Error> transcodeStreams();
    void seekNearStart();
    bool isDone() const;
    [[nodiscard]] std::expected<void, Error> takeVideoFrame(detail::FramePtr frame);
    [[nodiscard]] std::expected<void, Error> takeSoundFrame(detail::FramePtr frame);
    // Hands a frame of sound whose tempo was changed to the conformer.
    SoundTempo::FrameHandler conformTempoFrame();
    // After sound was taken: keeps the picture level and reports progress.
    [[nodiscard]] std::expected<void, Error> soundTaken();
    AVRational soundTimeBase() const;
    // An offset from the source range's start as it lands in the segment, whose tempo may differ.
    std::int64_t scaled(std::int64_t sourceOffset) const;
    // A frame time of a source of constant rate moved to the nearest frame
    // time of the output's rate; other sources keep their own (output video units).
    std::int64_t onFrameGrid(std::int64_t pts) const;
    // Shows `frame` from `pts` (output video units) on.
    [[nodiscard]] std::expected<void, Error> show(detail::FramePtr frame, std::int64_t pts);
    [[nodiscard]] std::expected<void, Error> finishVideo();
    [[nodiscard]] std::expected<void, Error> showBlack();
    // Brings both tracks up to `outputSeconds`: the current frame held,
    // silence where the sound has ended or there is none.
    [[nodiscard]] std::expected<void, Error> advanceTo(double outputSeconds);
    // Brings both tracks to the segment's end one progress report at a time,
    // so progress and cancellation keep their pace through stills and silence.
    [[nodiscard]] std::expected<void, Error> fillToEnd();

    const SegmentPlacement& m_placement;
    const Segment& m_segment;
    VideoEncoder* m_video;
    AudioEncoder* m_audio;
    ProgressReporter& m_progress;
    double m_tempo = 1; // see segmentTempo

    std::shared_ptr<SourceFile> m_source;
    std::optional<StreamDecoder> m_videoDecoder;
    std::optional<StreamDecoder> m_soundDecoder;
    std::optional<VideoFitter> m_fitter;
    std::optional<AudioConformer> m_conformer;
    std::optional<SoundTempo> m_soundTempo; // made for the first frame of a scaled segment's sound
    std::int64_t m_firstSoundOffset = 0;

    AVRational m_outputTimeBase{1, 1};
    std::int64_t m_rangeStartTicks = 0; // the source range's start in output video units
    std::int64_t m_segmentTicks = 0;    // the segment's duration in output video units
    std::int64_t m_rangeStartSample = 0;
    std::int64_t m_lastShownPts = 0;
    detail::FramePtr m_held;    // the latest frame before the range's start
    bool m_onFrameGrid = false; // the source's frames keep a constant rate: see onFrameGrid
    bool m_shownAny = false;
    bool m_videoDone = false;
};

} // namespace media::transcode
