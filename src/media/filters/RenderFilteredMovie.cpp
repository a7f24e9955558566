#include "media/filters/FilteredMovie.h"

#include "media/detail/SourceFile.h"
#include "media/detail/TemporaryFile.h"
#include "media/filters/detail/RenderChain.h"
#include "media/transcode/AudioConformer.h"
#include "media/transcode/AudioEncoder.h"
#include "media/transcode/EncoderSetup.h"
#include "media/transcode/OutputMovie.h"
#include "media/transcode/StreamDecoder.h"

#include <cerrno>
#include <map>
#include <optional>

namespace media::filters {

using namespace media::detail;
using namespace media::transcode;

namespace {

// MPEG-4 Part 2 at high quality: a fixed quantiser of 3 (of 1 to 31).
constexpr int kQuantiser = 3;

// MPEG-4 Part 2 keeps times in units of at most 1/65535 s: the source's own
// when they fit, else its frame time, else milliseconds.
AVRational encoderTimeBase(const AVStream& stream) {
    if (stream.time_base.num > 0 && stream.time_base.den <= 65535)
        return stream.time_base;
    const AVRational frameTime = av_inv_q(stream.avg_frame_rate);
    if (frameTime.num > 0 && frameTime.den > 0 && frameTime.den <= 65535)
        return frameTime;
    return {1, 1000};
}

int firstSoundStream(const AVFormatContext& format) {
    for (unsigned i = 0; i < format.nb_streams; ++i)
        if (format.streams[i]->codecpar->codec_type == AVMEDIA_TYPE_AUDIO &&
            !(format.streams[i]->disposition & AV_DISPOSITION_ATTACHED_PIC))
            return static_cast<int>(i);
    return -1;
}

class Renderer final {
public:
    Renderer(const FilterRenderRequest& request, const std::function<bool(double)>& progress)
        : m_request(request), m_progress(progress), m_chain(request.filters) {}

    [[nodiscard]] std::expected<void, Error> run(const std::filesystem::path& file);

private:
    [[nodiscard]] std::expected<void, Error> openVideo(OutputMovie& output);
    [[nodiscard]] std::expected<void, Error> openSound(OutputMovie& output);
    [[nodiscard]] std::expected<void, Error> takeVideoFrame(FramePtr frame);
    [[nodiscard]] std::expected<void, Error> takeSoundFrame(FramePtr frame);
    [[nodiscard]] std::expected<void, Error> encode(AVFrame* frame);
    std::int64_t fromOrigin(std::int64_t timestamp, AVRational timeBase) const;

    const FilterRenderRequest& m_request;
    const std::function<bool(double)>& m_progress;
    std::shared_ptr<SourceFile> m_source;
    OutputMovie* m_output = nullptr;
    std::int64_t m_origin = 0; // the source's start, in AV_TIME_BASE units
    double m_duration = 0;     // seconds

    const AVStream* m_videoStream = nullptr;
    std::optional<StreamDecoder> m_videoDecoder;
    OpenedEncoder m_encoder;
    filters::detail::RenderChain m_chain;
    std::int64_t m_lastPts = AV_NOPTS_VALUE;
    std::map<std::int64_t, std::int64_t> m_durations; // each frame's duration by its timestamp
    std::int64_t m_frameDuration = 1;

    const AVStream* m_soundStream = nullptr;
    int m_soundIndex = -1;
    bool m_copySound = false;
    std::optional<StreamDecoder> m_soundDecoder;
    std::unique_ptr<AudioEncoder> m_soundEncoder;
    std::unique_ptr<AudioConformer> m_conformer;
    std::int64_t m_soundSamples = 0;
};

std::int64_t Renderer::fromOrigin(std::int64_t timestamp, AVRational timeBase) const {
    return timestamp - av_rescale_q(m_origin, AV_TIME_BASE_Q, timeBase);
}

std::expected<void, Error> Renderer::openVideo(OutputMovie& output) {
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MPEG4);
    if (!codec)
        return std::unexpected(Error{AVERROR_ENCODER_NOT_FOUND, "no MPEG-4 video encoder"});
    auto decoder = StreamDecoder::open(m_videoStream, m_request.source);
    if (!decoder)
        return std::unexpected(decoder.error());
    m_videoDecoder.emplace(std::move(*decoder));
    const AVCodecParameters& parameters = *m_videoStream->codecpar;
    const AVRational timeBase = encoderTimeBase(*m_videoStream);
    const AVRational frameRate = m_videoStream->avg_frame_rate.num > 0 ? m_videoStream->avg_frame_rate : AVRational{25, 1};
    m_frameDuration = std::max<std::int64_t>(1, av_rescale_q(1, av_inv_q(frameRate), timeBase));
    EncoderOptions options;
    auto opened = openEncoder(
        *codec, output,
        [&](AVCodecContext& context) {
            context.width = parameters.width;
            context.height = parameters.height;
            context.pix_fmt = AV_PIX_FMT_YUV420P;
            context.time_base = timeBase;
            context.framerate = frameRate;
            context.sample_aspect_ratio = parameters.sample_aspect_ratio;
            context.flags |= AV_CODEC_FLAG_QSCALE;
            context.global_quality = FF_QP2LAMBDA * kQuantiser;
            context.gop_size = 12;
            context.thread_count = 0; // one slice per core
        },
        options, "the MPEG-4 video encoder");
    if (!opened)
        return std::unexpected(opened.error());
    m_encoder = std::move(*opened);
    return addEncoderStream(m_encoder, output);
}

std::expected<void, Error> Renderer::openSound(OutputMovie& output) {
    if (!m_soundStream)
        return {};
    const AVOutputFormat* mp4 = av_guess_format("mp4", nullptr, nullptr);
    m_copySound = mp4 && avformat_query_codec(mp4, m_soundStream->codecpar->codec_id, FF_COMPLIANCE_NORMAL) == 1;
    if (m_copySound) {
        auto index = output.addCopiedStream(m_soundStream);
        if (!index)
            return std::unexpected(index.error());
        m_soundIndex = *index;
        return {};
    }
    auto decoder = StreamDecoder::open(m_soundStream, m_request.source);
    if (!decoder)
        return std::unexpected(decoder.error());
    m_soundDecoder.emplace(std::move(*decoder));
    EncoderSettings settings;
    settings.container = "mp4";
    auto encoder = AudioEncoder::open(settings, m_soundStream->codecpar->sample_rate,
                                      std::min(2, m_soundStream->codecpar->ch_layout.nb_channels), output);
    if (!encoder)
        return std::unexpected(encoder.error());
    m_soundEncoder = std::move(*encoder);
    if (auto added = m_soundEncoder->addStream(); !added)
        return added;
    m_soundSamples = static_cast<std::int64_t>(m_duration * m_soundEncoder->sampleRate() + 0.5);
    m_conformer = std::make_unique<AudioConformer>(*m_soundEncoder, m_soundSamples, m_request.source);
    return {};
}

std::expected<void, Error> Renderer::encode(AVFrame* frame) {
    if (const int status = avcodec_send_frame(m_encoder.context.get(), frame); status < 0)
        return std::unexpected(m_output->error(status, "cannot encode video"));
    return drainEncoder(m_encoder, *m_output, [&](AVPacket& packet) {
        if (const auto found = m_durations.find(packet.pts); found != m_durations.end()) {
            packet.duration = found->second;
            m_durations.erase(m_durations.begin(), std::next(found));
        }
        return m_output->write(&packet, m_encoder.streamIndex, m_encoder.context->time_base);
    }, "video");
}

std::expected<void, Error> Renderer::takeVideoFrame(FramePtr frame) {
    const AVRational timeBase = m_encoder.context->time_base;
    const std::int64_t timestamp = frame->best_effort_timestamp;
    if (timestamp == AV_NOPTS_VALUE)
        return {};
    const std::int64_t pts = av_rescale_q(fromOrigin(timestamp, m_videoStream->time_base), m_videoStream->time_base, timeBase);
    // A frame at or before the last one (times too close for the encoder's clock) is dropped.
    if (m_lastPts != AV_NOPTS_VALUE && pts <= m_lastPts)
        return {};
    auto filtered = m_chain.apply(std::move(frame), m_videoStream->time_base);
    if (!filtered)
        return std::unexpected(filtered.error());
    (*filtered)->pts = pts;
    (*filtered)->pict_type = AV_PICTURE_TYPE_NONE;
    // The frame before lasts until this one; the last lasts one frame time.
    if (m_lastPts != AV_NOPTS_VALUE)
        m_durations[m_lastPts] = pts - m_lastPts;
    m_durations[pts] = m_frameDuration;
    m_lastPts = pts;
    if (auto encoded = encode(filtered->get()); !encoded)
        return encoded;
    const double seconds = double(pts) * av_q2d(timeBase);
    if (!m_progress(m_duration > 0 ? std::clamp(seconds / m_duration, 0.0, 1.0) : 0.0))
        return std::unexpected(Error{ECANCELED, "Cancelled"});
    return {};
}

std::expected<void, Error> Renderer::takeSoundFrame(FramePtr frame) {
    if (m_conformer->isComplete() || frame->best_effort_timestamp == AV_NOPTS_VALUE)
        return {};
    const std::int64_t offset =
        av_rescale_q(fromOrigin(frame->best_effort_timestamp, m_soundStream->time_base), m_soundStream->time_base,
                     AVRational{1, m_soundEncoder->sampleRate()});
    return m_conformer->take(*frame, offset);
}

std::expected<void, Error> Renderer::run(const std::filesystem::path& file) {
    auto source = SourceFile::open(m_request.source, SourceFile::Depth::StreamInfo);
    if (!source)
        return std::unexpected(source.error());
    m_source = std::move(*source);
    AVFormatContext* format = m_source->format();
    const int video = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (video < 0)
        return std::unexpected(Error{EINVAL, m_request.source.filename().string() + " has no picture to filter"});
    m_videoStream = format->streams[video];
    if (const int sound = firstSoundStream(*format); sound >= 0)
        m_soundStream = format->streams[sound];
    m_origin = format->start_time != AV_NOPTS_VALUE ? format->start_time : 0;
    m_duration = format->duration > 0 ? double(format->duration) / AV_TIME_BASE : 0;

    auto output = OutputMovie::create(file, "mp4", m_request.output);
    if (!output)
        return std::unexpected(output.error());
    m_output = output->get();
    if (auto opened = openVideo(*m_output); !opened)
        return opened;
    if (auto opened = openSound(*m_output); !opened)
        return opened;
    if (auto begun = m_output->begin(); !begun)
        return begun;

    PacketPtr packet(av_packet_alloc());
    if (!packet)
        return std::unexpected(Error{ENOMEM, "out of memory"});
    auto onVideo = [&](FramePtr frame) { return takeVideoFrame(std::move(frame)); };
    auto onSound = [&](FramePtr frame) { return takeSoundFrame(std::move(frame)); };
    for (;;) {
        const int status = av_read_frame(format, packet.get());
        if (status == errorEndOfFile())
            break;
        if (status < 0)
            return std::unexpected(makeError(status, "cannot read " + m_request.source.filename().string()));
        std::expected<void, Error> taken;
        if (packet->stream_index == m_videoStream->index) {
            taken = m_videoDecoder->decode(packet.get(), onVideo);
        } else if (m_soundStream && packet->stream_index == m_soundStream->index) {
            if (m_copySound) {
                packet->pts = packet->pts == AV_NOPTS_VALUE ? packet->pts : fromOrigin(packet->pts, m_soundStream->time_base);
                packet->dts = packet->dts == AV_NOPTS_VALUE ? packet->dts : fromOrigin(packet->dts, m_soundStream->time_base);
                packet->pos = -1;
                taken = m_output->write(packet.get(), m_soundIndex, m_soundStream->time_base);
            } else {
                taken = m_soundDecoder->decode(packet.get(), onSound);
            }
        }
        av_packet_unref(packet.get());
        if (!taken)
            return taken;
    }
    if (auto flushed = m_videoDecoder->decode(nullptr, onVideo); !flushed)
        return flushed;
    if (m_lastPts == AV_NOPTS_VALUE)
        return std::unexpected(Error{EINVAL, "no frame of " + m_request.source.filename().string() + " could be decoded"});
    if (auto drained = encode(nullptr); !drained)
        return drained;
    if (m_soundDecoder) {
        if (auto flushed = m_soundDecoder->decode(nullptr, onSound); !flushed)
            return flushed;
        if (auto finished = m_conformer->finish(); !finished)
            return finished;
        if (auto finished = m_soundEncoder->finish(); !finished)
            return finished;
    }
    if (auto finished = m_output->finish(); !finished)
        return finished;
    m_progress(1.0);
    return {};
}

} // namespace

std::expected<void, Error> renderFilteredMovie(const FilterRenderRequest& request,
                                               const std::function<bool(double)>& progress) {
    configureLogging();
    auto temporary = TemporaryFile::create(request.output);
    if (!temporary)
        return std::unexpected(temporary.error());
    // The temporary file goes away with `temporary` unless committed.
    Renderer renderer(request, progress);
    if (auto rendered = renderer.run(temporary->path()); !rendered)
        return rendered;
    if (!request.replaceExisting) {
        auto committed = temporary->commitWithoutReplacing();
        if (!committed && committed.error().code == EEXIST)
            return std::unexpected(Error{EEXIST, request.output.string() + " already exists"});
        return committed;
    }
    return temporary->commit();
}

} // namespace media::filters
