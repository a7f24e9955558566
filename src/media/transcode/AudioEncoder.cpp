#include "media/transcode/AudioEncoder.h"

#include "media/transcode/EncoderSetup.h"
#include "media/transcode/OutputMovie.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

namespace media::transcode {

using namespace media::detail;

namespace {

// Encoders whose frames may hold any number of samples get this many at a time.
constexpr int kFreeFrameSize = 1024;

int chooseSampleRate(const AVCodec* codec, int wanted) {
    if (!codec->supported_samplerates)
        return wanted;
    int best = codec->supported_samplerates[0];
    for (const int* rate = codec->supported_samplerates; *rate != 0; ++rate) {
        const int distance = std::abs(*rate - wanted);
        const int bestDistance = std::abs(best - wanted);
        if (distance < bestDistance || (distance == bestDistance && *rate > best))
            best = *rate;
    }
    return best;
}

void chooseChannelLayout(const AVCodec* codec, int channels, AVChannelLayout* layout) {
    av_channel_layout_default(layout, channels);
    if (!codec->ch_layouts)
        return;
    const AVChannelLayout* sameCount = nullptr;
    for (const AVChannelLayout* offered = codec->ch_layouts; offered->nb_channels != 0; ++offered) {
        if (av_channel_layout_compare(offered, layout) == 0)
            return;
        if (!sameCount && offered->nb_channels == channels)
            sameCount = offered;
    }
    av_channel_layout_uninit(layout);
    av_channel_layout_copy(layout, sameCount ? sameCount : &codec->ch_layouts[0]);
}

} // namespace

AudioEncoder::~AudioEncoder() = default;

std::expected<std::unique_ptr<AudioEncoder>, Error>
AudioEncoder::open(const EncoderSettings& settings, int sampleRate, int channels, OutputMovie& output) {
    const AVCodec* codec = avcodec_find_encoder_by_name(settings.audioEncoder.c_str());
    if (!codec || codec->type != AVMEDIA_TYPE_AUDIO)
        return std::unexpected(Error{EINVAL, "no sound encoder is named \"" + settings.audioEncoder + "\""});

    std::unique_ptr<AudioEncoder> encoder(new AudioEncoder(output));
    std::int64_t bitRate = settings.audioBitRate;
    const auto configure = [&](AVCodecContext& context) {
        context.sample_fmt = preferredOrFirst(codec->sample_fmts, AV_SAMPLE_FMT_NONE, AV_SAMPLE_FMT_FLTP);
        context.sample_rate = chooseSampleRate(codec, sampleRate);
        chooseChannelLayout(codec, channels, &context.ch_layout);
        context.time_base = AVRational{1, context.sample_rate};
        if (bitRate > 0)
            context.bit_rate = bitRate;
        context.thread_count = 0;
    };
    const std::string what = "sound encoder \"" + settings.audioEncoder + "\"";
    EncoderOptions options;
    auto opened = openEncoder(*codec, output, configure, options, what);
    // A bit rate the encoder refuses at this sample rate and channel count
    // (Vorbis at 96 kHz, MPEG audio at 8 kHz): its own choice instead.
    if (!opened && opened.error().code == AVERROR(EINVAL) && bitRate > 0) {
        bitRate = 0;
        EncoderOptions again;
        opened = openEncoder(*codec, output, configure, again, what);
    }
    if (!opened)
        return std::unexpected(opened.error());
    encoder->m_encoder = std::move(*opened);
    const AVCodecContext* context = encoder->m_encoder.context.get();

    const bool anySize = context->frame_size <= 0 || (codec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE);
    encoder->m_frameSize = anySize ? kFreeFrameSize : context->frame_size;
    encoder->m_takesShortLastFrame = anySize || (codec->capabilities & AV_CODEC_CAP_SMALL_LAST_FRAME);
    encoder->m_planes.resize(av_sample_fmt_is_planar(context->sample_fmt) ? context->ch_layout.nb_channels
                                                                          : 1);
    encoder->m_fifo.reset(
        av_audio_fifo_alloc(context->sample_fmt, context->ch_layout.nb_channels, 2 * encoder->m_frameSize));

    // One frame of silence, appended as often as a gap needs.
    encoder->m_silence.reset(av_frame_alloc());
    AVFrame* silence = encoder->m_silence.get();
    if (!encoder->m_fifo || !silence)
        return std::unexpected(Error{ENOMEM, "out of memory"});
    silence->nb_samples = encoder->m_frameSize;
    silence->format = context->sample_fmt;
    av_channel_layout_copy(&silence->ch_layout, &context->ch_layout);
    if (const int status = av_frame_get_buffer(silence, 0); status < 0)
        return std::unexpected(makeError(status, "cannot make silence"));
    av_samples_set_silence(silence->extended_data, 0, silence->nb_samples, silence->ch_layout.nb_channels,
                           context->sample_fmt);
    return encoder;
}

std::expected<void, Error> AudioEncoder::addStream() {
    return addEncoderStream(m_encoder, m_output);
}

std::expected<void, Error> AudioEncoder::append(const std::uint8_t* const* planes, int count) {
    if (count <= 0)
        return {};
    // The FIFO only reads the planes; its signature is not const-correct.
    for (std::size_t i = 0; i < m_planes.size(); ++i)
        m_planes[i] = const_cast<std::uint8_t*>(planes[i]);
    if (const int written = av_audio_fifo_write(m_fifo.get(), m_planes.data(), count); written < count)
        return std::unexpected(m_output.error(written < 0 ? written : AVERROR(ENOMEM), "cannot queue sound"));
    m_position += count;
    while (av_audio_fifo_size(m_fifo.get()) >= m_frameSize)
        if (auto encoded = encodeQueued(m_frameSize); !encoded)
            return encoded;
    return {};
}

std::expected<void, Error> AudioEncoder::appendSilence(std::int64_t count) {
    while (count > 0) {
        const int chunk = static_cast<int>(std::min<std::int64_t>(count, m_frameSize));
        if (auto appended = append(m_silence->extended_data, chunk); !appended)
            return appended;
        count -= chunk;
    }
    return {};
}

std::expected<void, Error> AudioEncoder::encodeQueued(int count) {
    FramePtr frame(av_frame_alloc());
    if (!frame)
        return std::unexpected(Error{ENOMEM, "out of memory"});
    frame->nb_samples = count;
    frame->format = m_encoder.context->sample_fmt;
    frame->sample_rate = m_encoder.context->sample_rate;
    av_channel_layout_copy(&frame->ch_layout, &m_encoder.context->ch_layout);
    if (const int status = av_frame_get_buffer(frame.get(), 0); status < 0)
        return std::unexpected(m_output.error(status, "cannot encode sound"));
    const int available =
        av_audio_fifo_read(m_fifo.get(), reinterpret_cast<void**>(frame->extended_data), count);
    if (available < count) // padding of a last frame the encoder needs whole
        av_samples_set_silence(frame->extended_data, std::max(available, 0), count - std::max(available, 0),
                               frame->ch_layout.nb_channels, m_encoder.context->sample_fmt);
    frame->pts = m_encodedSamples;
    m_encodedSamples += count;
    return sendFrame(frame.get());
}

std::expected<void, Error> AudioEncoder::sendFrame(AVFrame* frame) {
    if (const int status = avcodec_send_frame(m_encoder.context.get(), frame); status < 0)
        return std::unexpected(m_output.error(status, "cannot encode sound"));
    const auto write = [this](AVPacket& packet) {
        return m_output.write(&packet, m_encoder.streamIndex, m_encoder.context->time_base);
    };
    return drainEncoder(m_encoder, m_output, write, "sound");
}

std::expected<void, Error> AudioEncoder::finish() {
    if (const int left = av_audio_fifo_size(m_fifo.get()); left > 0) {
        if (auto encoded = encodeQueued(m_takesShortLastFrame ? left : m_frameSize); !encoded)
            return encoded;
    }
    return sendFrame(nullptr);
}

} // namespace media::transcode
