#include "media/sound/SoundReader.h"

extern "C" {
#include <libavutil/opt.h>
}

namespace media::sound {

using detail::makeError;

std::expected<SoundReader, Error> SoundReader::openInput(const std::filesystem::path& path) {
    auto input = detail::openInputFile(path);
    if (!input)
        return std::unexpected(input.error());
    SoundReader reader;
    reader.m_input = std::move(*input);
    return reader;
}

std::expected<SoundReader, Error> SoundReader::open(const std::filesystem::path& path, AVSampleFormat format) {
    auto reader = openInput(path);
    if (!reader)
        return reader;
    // The longest sound track is the one the movie's sound lasts for.
    const AVFormatContext& input = *reader->m_input;
    double longest = -1;
    for (unsigned i = 0; i < input.nb_streams; ++i) {
        const AVStream& stream = *input.streams[i];
        if (stream.codecpar->codec_type != AVMEDIA_TYPE_AUDIO)
            continue;
        const double length =
            stream.duration > 0 ? static_cast<double>(stream.duration) * av_q2d(stream.time_base) : 0;
        if (length > longest) {
            longest = length;
            reader->m_stream = static_cast<int>(i);
        }
    }
    if (reader->m_stream < 0)
        return std::unexpected(Error{AVERROR_STREAM_NOT_FOUND, "the movie has no sound"});
    if (auto prepared = reader->prepare(format, 0, nullptr); !prepared)
        return std::unexpected(prepared.error());
    return reader;
}

std::expected<SoundReader, Error> SoundReader::openStream(const std::filesystem::path& path, int stream,
                                                          AVSampleFormat format, int sampleRate,
                                                          const AVChannelLayout& layout) {
    auto reader = openInput(path);
    if (!reader)
        return reader;
    if (stream < 0 || stream >= static_cast<int>(reader->m_input->nb_streams) ||
        reader->m_input->streams[stream]->codecpar->codec_type != AVMEDIA_TYPE_AUDIO)
        return std::unexpected(Error{AVERROR_STREAM_NOT_FOUND, "the movie has no such sound track"});
    reader->m_stream = stream;
    if (auto prepared = reader->prepare(format, sampleRate, &layout); !prepared)
        return std::unexpected(prepared.error());
    return reader;
}

std::expected<void, Error> SoundReader::prepare(AVSampleFormat format, int sampleRate,
                                                const AVChannelLayout* layout) {
    AVFormatContext* input = m_input.get();
    for (unsigned i = 0; i < input->nb_streams; ++i)
        if (static_cast<int>(i) != m_stream)
            input->streams[i]->discard = AVDISCARD_ALL;
    const AVStream& stream = *input->streams[m_stream];
    auto decoder = detail::openDecoder(stream, detail::DecoderThreads::One);
    if (!decoder)
        return std::unexpected(decoder.error());
    m_decoder = std::move(*decoder);
    AVCodecContext& context = *m_decoder;
    if (context.ch_layout.nb_channels <= 0 || context.sample_rate <= 0)
        return std::unexpected(Error{AVERROR_INVALIDDATA, "the sound's format is unknown"});
    // Files that do not name their channels' order (AIFF) get the usual one.
    if (context.ch_layout.order == AV_CHANNEL_ORDER_UNSPEC) {
        const int channels = context.ch_layout.nb_channels;
        av_channel_layout_uninit(&context.ch_layout);
        av_channel_layout_default(&context.ch_layout, channels);
    }
    m_format = format;
    m_sampleRate = sampleRate > 0 ? sampleRate : context.sample_rate;
    auto copied = detail::ChannelLayout::copyOf(layout ? *layout : context.ch_layout);
    if (!copied)
        return std::unexpected(copied.error());
    m_layout = std::move(*copied);
    if (stream.duration > 0)
        m_expectedFrames =
            static_cast<std::int64_t>(static_cast<double>(stream.duration) * av_q2d(stream.time_base) * m_sampleRate);

    SwrContext* resampler = nullptr;
    if (const int status = swr_alloc_set_opts2(&resampler, m_layout.get(), format, m_sampleRate, &context.ch_layout,
                                               context.sample_fmt, context.sample_rate, 0, nullptr);
        status < 0)
        return std::unexpected(makeError(status, "cannot convert the sound"));
    m_resampler.reset(resampler);
    m_fifo.reset(av_audio_fifo_alloc(format, (*m_layout).nb_channels, 4096));
    m_packet.reset(av_packet_alloc());
    m_frame.reset(av_frame_alloc());
    if (!m_fifo || !m_packet || !m_frame)
        return std::unexpected(Error{ENOMEM, "out of memory"});
    return {};
}

// Converts `input` (or, when null, what the converter still holds) into the fifo.
std::expected<void, Error> SoundReader::convert(const AVFrame* input) {
    if (!swr_is_initialized(m_resampler.get())) {
        if (!input)
            return {};
        // Decoders tell the true layout and format with their first frame.
        const AVChannelLayout& layout =
            input->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC ? m_decoder->ch_layout : input->ch_layout;
        av_opt_set_chlayout(m_resampler.get(), "in_chlayout", &layout, 0);
        av_opt_set_int(m_resampler.get(), "in_sample_fmt", input->format, 0);
        av_opt_set_int(m_resampler.get(), "in_sample_rate", input->sample_rate, 0);
        if (const int init = swr_init(m_resampler.get()); init < 0)
            return std::unexpected(makeError(init, "cannot convert the sound"));
    }
    const int inputFrames = input ? input->nb_samples : 0;
    const int room = swr_get_out_samples(m_resampler.get(), inputFrames);
    if (room <= 0)
        return {};
    detail::FramePtr converted(av_frame_alloc());
    if (!converted)
        return std::unexpected(Error{ENOMEM, "out of memory"});
    converted->format = m_format;
    converted->sample_rate = m_sampleRate;
    av_channel_layout_copy(&converted->ch_layout, m_layout.get());
    converted->nb_samples = room;
    if (const int got = av_frame_get_buffer(converted.get(), 0); got < 0)
        return std::unexpected(makeError(got, "out of memory"));
    const int made =
        swr_convert(m_resampler.get(), converted->data, room,
                    input ? const_cast<const std::uint8_t**>(input->extended_data) : nullptr, inputFrames);
    if (made < 0)
        return std::unexpected(makeError(made, "cannot convert the sound"));
    if (av_audio_fifo_write(m_fifo.get(), reinterpret_cast<void**>(converted->data), made) < made)
        return std::unexpected(Error{ENOMEM, "out of memory"});
    return {};
}

std::expected<void, Error> SoundReader::fill(int frames) {
    while (!m_drained && av_audio_fifo_size(m_fifo.get()) < frames) {
        int status = avcodec_receive_frame(m_decoder.get(), m_frame.get());
        if (status == 0) {
            auto converted = convert(m_frame.get());
            av_frame_unref(m_frame.get());
            if (!converted)
                return converted;
            continue;
        }
        if (status == detail::errorEndOfFile()) {
            m_drained = true;
            // A rate converter keeps a few samples back until it is flushed.
            return convert(nullptr);
        }
        if (status != detail::kErrorAgain)
            return std::unexpected(makeError(status, "cannot decode the sound"));
        status = av_read_frame(m_input.get(), m_packet.get());
        if (status == detail::errorEndOfFile()) {
            avcodec_send_packet(m_decoder.get(), nullptr);
            continue;
        }
        if (status < 0)
            return std::unexpected(makeError(status, "cannot read the sound"));
        if (m_packet->stream_index == m_stream) {
            const int sent = avcodec_send_packet(m_decoder.get(), m_packet.get());
            // A damaged packet is skipped, as players do.
            if (sent < 0 && sent != AVERROR_INVALIDDATA && sent != detail::kErrorAgain) {
                av_packet_unref(m_packet.get());
                return std::unexpected(makeError(sent, "cannot decode the sound"));
            }
        }
        av_packet_unref(m_packet.get());
    }
    return {};
}

std::expected<int, Error> SoundReader::read(std::uint8_t** data, int frames) {
    if (auto filled = fill(frames); !filled)
        return std::unexpected(filled.error());
    const int got = av_audio_fifo_read(m_fifo.get(), reinterpret_cast<void**>(data), frames);
    if (got < 0)
        return std::unexpected(makeError(got, "cannot read the sound"));
    return got;
}

} // namespace media::sound
