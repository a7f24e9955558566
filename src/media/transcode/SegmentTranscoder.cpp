#include "media/transcode/SegmentTranscoder.h"

#include "media/detail/SourceFile.h"
#include "media/transcode/AudioEncoder.h"
#include "media/transcode/ProgressReporter.h"
#include "media/transcode/VideoEncoder.h"

#include <cerrno>
#include <cmath>
#include <vector>

namespace media::transcode {

using namespace media::detail;

namespace {

// A range starting this much later than its file is reached by seeking, not by reading up to it.
constexpr double kSeekThresholdSeconds = 1.0;
// Seeking lands this much before the range, so the sound decoder is settled when the range begins.
constexpr std::int64_t kPrerollMicroseconds = 500000;

// A stream whose average frame rate is further than this from its base rate
// changes its rate as it goes.
constexpr double kVariableRateTolerance = 0.005;

bool keepsConstantRate(const AVStream& stream) {
    const AVRational base = stream.r_frame_rate, average = stream.avg_frame_rate;
    if (base.num <= 0 || base.den <= 0 || average.num <= 0 || average.den <= 0)
        return true;
    return std::abs(av_q2d(base) / av_q2d(average) - 1) <= kVariableRateTolerance;
}

std::int64_t frameTimestamp(const AVFrame& frame) {
    return frame.best_effort_timestamp != AV_NOPTS_VALUE ? frame.best_effort_timestamp : frame.pts;
}

// Opens `decoder` for `stream` of `file` and has the stream read (the others stay discarded).
std::expected<void, Error> openDecoder(AVStream& stream, const std::filesystem::path& file,
                                       std::optional<StreamDecoder>& decoder) {
    auto opened = StreamDecoder::open(&stream, file);
    if (!opened)
        return std::unexpected(opened.error());
    decoder.emplace(std::move(*opened));
    stream.discard = AVDISCARD_DEFAULT;
    return {};
}

} // namespace

SegmentTranscoder::SegmentTranscoder(const SegmentPlacement& placement, VideoEncoder* video,
                                     AudioEncoder* audio, ProgressReporter& progress)
    : m_placement(placement), m_segment(*placement.segment), m_video(video), m_audio(audio),
      m_progress(progress), m_tempo(segmentTempo(*placement.segment)) {
    if (m_video) {
        m_outputTimeBase = m_video->timeBase();
        m_rangeStartTicks = ticksAt(m_segment.sourceRange.start, m_outputTimeBase);
        m_segmentTicks = placement.videoEnd - placement.videoStart;
    }
    if (m_audio) {
        const int rate = m_audio->sampleRate();
        m_rangeStartSample = sampleAt(m_segment.sourceRange.start, rate);
        m_conformer.emplace(*m_audio, sampleAt(placement.end, rate) - sampleAt(placement.start, rate),
                            m_segment.file);
    }
}

SegmentTranscoder::~SegmentTranscoder() = default;

std::expected<void, Error> SegmentTranscoder::run() {
    const bool readsVideo = m_video && m_segment.videoStream >= 0;
    const bool readsSound = m_audio && m_segment.soundStream >= 0 && !m_segment.isPicture;
    if (m_video && !readsVideo)
        if (auto shown = showBlack(); !shown)
            return shown;
    if (readsVideo || readsSound) {
        if (auto opened = openSource(); !opened)
            return opened;
        auto transcoded = m_segment.isPicture ? transcodePicture() : transcodeStreams();
        if (!transcoded)
            return transcoded;
    }
    if (auto finished = finishVideo(); !finished)
        return finished;
    return fillToEnd();
}

std::expected<void, Error> SegmentTranscoder::openSource() {
    auto source = SourceFile::open(m_segment.file, SourceFile::Depth::StreamInfo);
    if (!source)
        return std::unexpected(
            Error{source.error().code, "\"" + m_segment.file.string() + "\": " + source.error().message});
    m_source = *source;
    AVFormatContext* format = m_source->format();
    for (unsigned i = 0; i < format->nb_streams; ++i)
        format->streams[i]->discard = AVDISCARD_ALL;

    const auto streamCount = static_cast<int>(format->nb_streams);
    if (m_video && m_segment.videoStream >= 0 && m_segment.videoStream < streamCount) {
        AVStream* stream = format->streams[m_segment.videoStream];
        if (auto opened = openDecoder(*stream, m_segment.file, m_videoDecoder); !opened)
            return opened;
        m_onFrameGrid = keepsConstantRate(*stream);
        const AVRational aspect = stream->sample_aspect_ratio.num > 0 ? stream->sample_aspect_ratio
                                                                      : stream->codecpar->sample_aspect_ratio;
        m_fitter.emplace(m_video->format(), m_source->clockwiseRotation(m_segment.videoStream), aspect,
                         m_segment.file);
    }
    if (m_audio && !m_segment.isPicture && m_segment.soundStream >= 0 &&
        m_segment.soundStream < streamCount) {
        if (auto opened = openDecoder(*format->streams[m_segment.soundStream], m_segment.file, m_soundDecoder);
            !opened)
            return opened;
    }
    return {};
}

std::expected<void, Error> SegmentTranscoder::transcodePicture() {
    if (!m_videoDecoder)
        return {};
    FramePtr picture;
    const auto keepFirst = [&](FramePtr frame) -> std::expected<void, Error> {
        if (!picture)
            picture = std::move(frame);
        return {};
    };
    const auto wanted = [&] { return !picture; };
    if (auto decoded = decodeStreams(*m_source->format(), m_segment.file,
                                     {{m_segment.videoStream, &*m_videoDecoder, keepFirst, wanted}},
                                     [&] { return !wanted(); });
        !decoded)
        return decoded;
    if (!picture)
        return std::unexpected(
            Error{AVERROR_INVALIDDATA, "\"" + m_segment.file.string() + "\": the picture cannot be decoded"});
    return show(std::move(picture), m_placement.videoStart);
}

void SegmentTranscoder::seekNearStart() {
    const double start = seconds(m_segment.sourceRange.start);
    AVFormatContext* format = m_source->format();
    const double fileStart =
        format->start_time == AV_NOPTS_VALUE ? 0 : static_cast<double>(format->start_time) / AV_TIME_BASE;
    // Reading from the very start also honours the sources' own priming.
    if (!std::isfinite(start) || start - fileStart < kSeekThresholdSeconds)
        return;
    const std::int64_t target = std::llround(start * AV_TIME_BASE) - kPrerollMicroseconds;
    // A failed seek leaves the reader at the start, which is slower but right.
    avformat_seek_file(format, -1, INT64_MIN, target, target, 0);
}

bool SegmentTranscoder::isDone() const {
    const bool videoDone = !m_videoDecoder || m_videoDone;
    const bool soundDone = !m_soundDecoder || m_conformer->isComplete();
    return videoDone && soundDone;
}

std::expected<void, Error> SegmentTranscoder::transcodeStreams() {
    seekNearStart();
    std::vector<DecodedStream> streams;
    if (m_videoDecoder)
        streams.push_back({m_segment.videoStream, &*m_videoDecoder,
                           [this](FramePtr frame) { return takeVideoFrame(std::move(frame)); },
                           [this] { return !m_videoDone; }});
    if (m_soundDecoder)
        streams.push_back({m_segment.soundStream, &*m_soundDecoder,
                           [this](FramePtr frame) { return takeSoundFrame(std::move(frame)); },
                           [this] { return !m_conformer->isComplete(); }});
    if (auto decoded =
            decodeStreams(*m_source->format(), m_segment.file, streams, [this] { return isDone(); });
        !decoded)
        return decoded;
    // What the tempo filter still holds.
    if (m_soundTempo && !m_conformer->isComplete())
        return m_soundTempo->push(nullptr, soundTimeBase(), conformTempoFrame());
    return {};
}

AVRational SegmentTranscoder::soundTimeBase() const {
    return m_source->format()->streams[m_segment.soundStream]->time_base;
}

std::int64_t SegmentTranscoder::scaled(std::int64_t sourceOffset) const {
    return m_tempo == 1 ? sourceOffset : static_cast<std::int64_t>(std::llround(sourceOffset / m_tempo));
}

std::expected<void, Error> SegmentTranscoder::takeVideoFrame(FramePtr frame) {
    if (m_videoDone)
        return {};
    const AVRational streamBase = m_source->format()->streams[m_segment.videoStream]->time_base;
    const std::int64_t timestamp = frameTimestamp(*frame);
    // Frames without a time follow the one before.
    const std::int64_t offset =
        timestamp == AV_NOPTS_VALUE
            ? (m_shownAny ? m_lastShownPts - m_placement.videoStart + 1 : 0)
            : scaled(av_rescale_q_rnd(timestamp, streamBase, m_outputTimeBase, AV_ROUND_NEAR_INF) -
                     m_rangeStartTicks);
    const std::int64_t pts = onFrameGrid(m_placement.videoStart + offset);
    if (offset >= m_segmentTicks || pts >= m_placement.videoEnd) {
        m_videoDone = true;
        return {};
    }
    if (offset < 0) {
        if (!m_shownAny)
            m_held = std::move(frame);
        return {};
    }
    if (!m_shownAny) {
        // The frame showing at the range's start: one decoded before it, or
        // else the first one, shown from the start rather than after a gap.
        if (offset > 0 && m_held) {
            if (auto shown = show(std::move(m_held), m_placement.videoStart); !shown)
                return shown;
        } else {
            m_held.reset();
            return show(std::move(frame), m_placement.videoStart);
        }
    }
    return show(std::move(frame), pts);
}

std::int64_t SegmentTranscoder::onFrameGrid(std::int64_t pts) const {
    const AVRational rate = m_video->frameRate();
    if (!m_onFrameGrid || rate.num <= 0 || rate.den <= 0)
        return pts;
    const std::int64_t ticksPerSecond = static_cast<std::int64_t>(m_outputTimeBase.den) * rate.den;
    const std::int64_t framesPerTick = static_cast<std::int64_t>(m_outputTimeBase.num) * rate.num;
    const std::int64_t frame = av_rescale_rnd(pts, framesPerTick, ticksPerSecond, AV_ROUND_NEAR_INF);
    return std::max(m_placement.videoStart,
                    av_rescale_rnd(frame, ticksPerSecond, framesPerTick, AV_ROUND_NEAR_INF));
}

std::expected<void, Error> SegmentTranscoder::takeSoundFrame(FramePtr frame) {
    const int rate = m_audio->sampleRate();
    const std::int64_t timestamp = frameTimestamp(*frame);
    // Only the first frame's offset places the sound; the rest follows on.
    const std::int64_t offset =
        timestamp == AV_NOPTS_VALUE
            ? 0
            : scaled(av_rescale_q_rnd(timestamp, soundTimeBase(), AVRational{1, rate}, AV_ROUND_NEAR_INF) -
                     m_rangeStartSample);
    if (m_tempo != 1) {
        if (!m_soundTempo) {
            m_soundTempo.emplace(tempoChain(m_tempo), "\"" + m_segment.file.string() + "\"", m_tempo);
            m_firstSoundOffset = offset;
        }
        return m_soundTempo->push(frame.get(), soundTimeBase(), conformTempoFrame());
    }
    if (auto taken = m_conformer->take(*frame, offset); !taken)
        return taken;
    return soundTaken();
}

SoundTempo::FrameHandler SegmentTranscoder::conformTempoFrame() {
    return [this](AVFrame& stretched) -> std::expected<void, Error> {
        if (auto taken = m_conformer->take(stretched, m_firstSoundOffset); !taken)
            return taken;
        return soundTaken();
    };
}

std::expected<void, Error> SegmentTranscoder::soundTaken() {
    const int rate = m_audio->sampleRate();
    const double reached = static_cast<double>(m_conformer->written()) / rate;
    // A segment whose video has ended, or has none, keeps its picture level with the sound.
    if (m_video && m_shownAny && (!m_videoDecoder || m_videoDone))
        if (auto held = m_video->holdUntil(m_placement.videoStart +
                                           static_cast<std::int64_t>(reached / av_q2d(m_outputTimeBase)));
            !held)
            return held;
    return m_progress.reach(seconds(m_placement.start) + reached);
}

std::expected<void, Error> SegmentTranscoder::show(FramePtr frame, std::int64_t pts) {
    auto fitted =
        m_fitter ? m_fitter->fit(std::move(frame)) : std::expected<FramePtr, Error>(std::move(frame));
    if (!fitted)
        return std::unexpected(fitted.error());
    if (auto placed = m_video->place(std::move(*fitted), pts, !m_shownAny); !placed)
        return placed;
    m_shownAny = true;
    m_lastShownPts = pts;
    const double offsetSeconds = static_cast<double>(pts - m_placement.videoStart) * av_q2d(m_outputTimeBase);
    // A segment without sound keeps the output's sound level with its video.
    if (m_conformer && !m_soundDecoder)
        if (auto silent =
                m_conformer->silenceUntil(static_cast<std::int64_t>(offsetSeconds * m_audio->sampleRate()));
            !silent)
            return silent;
    return m_progress.reach(seconds(m_placement.start) + offsetSeconds);
}

std::expected<void, Error> SegmentTranscoder::finishVideo() {
    if (!m_video || m_shownAny)
        return {};
    if (m_held)
        return show(std::move(m_held), m_placement.videoStart);
    return showBlack();
}

std::expected<void, Error> SegmentTranscoder::showBlack() {
    auto black = m_video->makeBlackFrame();
    if (!black)
        return std::unexpected(black.error());
    m_fitter.reset(); // already in the output's format
    return show(std::move(*black), m_placement.videoStart);
}

std::expected<void, Error> SegmentTranscoder::advanceTo(double outputSeconds) {
    const double offset = outputSeconds - seconds(m_placement.start);
    if (m_video)
        if (auto held = m_video->holdUntil(std::min(
                m_placement.videoEnd,
                m_placement.videoStart + static_cast<std::int64_t>(offset / av_q2d(m_outputTimeBase))));
            !held)
            return held;
    if (m_conformer)
        if (auto silent =
                m_conformer->silenceUntil(static_cast<std::int64_t>(offset * m_audio->sampleRate()));
            !silent)
            return silent;
    return m_progress.reach(outputSeconds);
}

std::expected<void, Error> SegmentTranscoder::fillToEnd() {
    if (m_conformer)
        if (auto drained = m_conformer->drain(); !drained)
            return drained;
    const double end = seconds(m_placement.end);
    for (double due = m_progress.nextDue(); due < end; due = m_progress.nextDue())
        if (auto advanced = advanceTo(due); !advanced)
            return advanced;
    if (m_conformer)
        if (auto finished = m_conformer->finish(); !finished)
            return finished;
    return m_progress.reach(end);
}

} // namespace media::transcode
