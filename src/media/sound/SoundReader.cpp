#include "media/sound/SoundReader.h"

extern "C" {
#include <libavutil/opt.h>
}

namespace media::sound {

using detail::makeError;

std::expected<SoundReader, Error> SoundReader::open(const std::filesystem::path& path, AVSampleFormat format) {
    AVFormatContext* raw = nullptr;
    AVDictionary* settings = nullptr;
    av_dict_set(&settings, "protocol_whitelist", "file", 0);
    detail::DictionaryPtr options(settings);
    AVDictionary* given = options.release();
    const int opened = avformat_open_input(&raw, path.c_str(), nullptr, &given);
    options.reset(given);
    if (opened < 0)
        return std::unexpected(makeError(opened, "cannot open " + path.string()));
    SoundReader reader;
    reader.m_format = format;
    reader.m_input.reset(raw);
    if (const int status = avformat_find_stream_info(raw, nullptr); status < 0)
        return std::unexpected(makeError(status, "cannot read " + path.string()));
    // The longest sound track is the one the movie's sound lasts for.
    double longest = -1;
    for (unsigned i = 0; i < raw->nb_streams; ++i) {
        const AVStream& stream = *raw->streams[i];
        if (stream.codecpar->codec_type != AVMEDIA_TYPE_AUDIO)
            continue;
        const double length = stream.duration > 0 ? static_cast<double>(stream.duration) * av_q2d(stream.time_base)
                                                   : 0;
        if (length > longest) {
            longest = length;
            reader.m_stream = static_cast<int>(i);
        }
    }
    if (reader.m_stream < 0)
        return std::unexpected(Error{AVERROR_STREAM_NOT_FOUND, "the movie has no sound"});
    for (unsigned i = 0; i < raw->nb_streams; ++i)
        if (static_cast<int>(i) != reader.m_stream)
            raw->streams[i]->discard = AVDISCARD_ALL;
    const AVStream& stream = *raw->streams[reader.m_stream];
    auto decoder = detail::openDecoder(stream, detail::DecoderThreads::One);
    if (!decoder)
        return std::unexpected(decoder.error());
    reader.m_decoder = std::move(*decoder);
    AVCodecContext& context = *reader.m_decoder;
    if (context.ch_layout.nb_channels <= 0 || context.sample_rate <= 0)
        return std::unexpected(Error{AVERROR_INVALIDDATA, "the sound's format is unknown"});
    // Files that do not name their channels' order (AIFF) get the usual one.
    if (context.ch_layout.order == AV_CHANNEL_ORDER_UNSPEC) {
        const int channels = context.ch_layout.nb_channels;
        av_channel_layout_uninit(&context.ch_layout);
        av_channel_layout_default(&context.ch_layout, channels);
    }
    if (longest > 0)
        reader.m_expectedFrames = static_cast<std::int64_t>(longest * context.sample_rate);

    SwrContext* resampler = nullptr;
    if (const int status = swr_alloc_set_opts2(&resampler, &context.ch_layout, format, context.sample_rate,
                                               &context.ch_layout, context.sample_fmt, context.sample_rate, 0,
                                               nullptr);
        status < 0)
        return std::unexpected(makeError(status, "cannot convert the sound"));
    reader.m_resampler.reset(resampler);
    reader.m_fifo.reset(av_audio_fifo_alloc(format, context.ch_layout.nb_channels, 4096));
    reader.m_packet.reset(av_packet_alloc());
    reader.m_frame.reset(av_frame_alloc());
    if (!reader.m_fifo || !reader.m_packet || !reader.m_frame)
        return std::unexpected(Error{ENOMEM, "out of memory"});
    return reader;
}

std::expected<void, Error> SoundReader::fill(int frames) {
    while (!m_drained && av_audio_fifo_size(m_fifo.get()) < frames) {
        int status = avcodec_receive_frame(m_decoder.get(), m_frame.get());
        if (status == 0) {
            // Decoders tell the true layout and format with their first frame.
            if (!swr_is_initialized(m_resampler.get())) {
                const AVChannelLayout& layout = m_frame->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC
                                                    ? m_decoder->ch_layout
                                                    : m_frame->ch_layout;
                av_opt_set_chlayout(m_resampler.get(), "in_chlayout", &layout, 0);
                av_opt_set_int(m_resampler.get(), "in_sample_fmt", m_frame->format, 0);
                av_opt_set_int(m_resampler.get(), "in_sample_rate", m_frame->sample_rate, 0);
                if (const int init = swr_init(m_resampler.get()); init < 0)
                    return std::unexpected(makeError(init, "cannot convert the sound"));
            }
            detail::FramePtr converted(av_frame_alloc());
            if (!converted)
                return std::unexpected(Error{ENOMEM, "out of memory"});
            converted->format = m_format;
            converted->sample_rate = m_frame->sample_rate;
            av_channel_layout_copy(&converted->ch_layout, &m_decoder->ch_layout);
            converted->nb_samples = m_frame->nb_samples;
            if (const int got = av_frame_get_buffer(converted.get(), 0); got < 0)
                return std::unexpected(makeError(got, "out of memory"));
            const int made = swr_convert(m_resampler.get(), converted->data, converted->nb_samples,
                                         const_cast<const std::uint8_t**>(m_frame->extended_data),
                                         m_frame->nb_samples);
            av_frame_unref(m_frame.get());
            if (made < 0)
                return std::unexpected(makeError(made, "cannot convert the sound"));
            if (av_audio_fifo_write(m_fifo.get(), reinterpret_cast<void**>(converted->data), made) < made)
                return std::unexpected(Error{ENOMEM, "out of memory"});
            continue;
        }
        if (status == detail::errorEndOfFile()) {
            m_drained = true;
            break;
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
