#include "media/split/SegmentEncoder.h"

#include "media/split/LengthPrefixedNals.h"

extern "C" {
#include <libavutil/opt.h>
}

#include <algorithm>
#include <cstring>

namespace media::split {

using detail::makeError;

std::expected<SegmentEncoder, Error> SegmentEncoder::open(const AVStream& stream, const AVFrame& sample) {
    const AVCodecParameters& parameters = *stream.codecpar;
    const AVCodec* codec = parameters.codec_id == AV_CODEC_ID_H264 ? avcodec_find_encoder_by_name("libx264")
                                                                    : nullptr;
    if (!codec)
        codec = avcodec_find_encoder(parameters.codec_id);
    if (!codec)
        return std::unexpected(Error{AVERROR_ENCODER_NOT_FOUND, std::string("cannot encode ") +
                                                                    avcodec_get_name(parameters.codec_id) +
                                                                    " to cut between key frames"});
    SegmentEncoder encoder;
    encoder.m_context.reset(avcodec_alloc_context3(codec));
    if (!encoder.m_context)
        return std::unexpected(Error{ENOMEM, "out of memory"});
    AVCodecContext& context = *encoder.m_context;
    context.width = sample.width;
    context.height = sample.height;
    context.pix_fmt = static_cast<AVPixelFormat>(sample.format);
    context.sample_aspect_ratio = parameters.sample_aspect_ratio;
    context.time_base = stream.time_base;
    context.framerate = stream.avg_frame_rate.num > 0 ? stream.avg_frame_rate : stream.r_frame_rate;
    context.color_range = parameters.color_range;
    context.color_primaries = parameters.color_primaries;
    context.color_trc = parameters.color_trc;
    context.colorspace = parameters.color_space;
    context.chroma_sample_location = parameters.chroma_location;
    context.field_order = parameters.field_order;
    // One key frame at the start, no reordering: the stretch is short and
    // its packets must sit between copied ones in decode order.
    context.max_b_frames = 0;
    context.gop_size = 1 << 20;
    context.thread_count = 0;
    AVDictionary* options = nullptr;
    if (std::strcmp(codec->name, "libx264") == 0) {
        av_dict_set(&options, "preset", "veryfast", 0);
        av_dict_set(&options, "crf", "15", 0);
        // The source's parameter sets use identifier 0 as encoders write them.
        av_dict_set(&options, "x264-params", "sps-id=7", 0);
    } else {
        context.flags |= AV_CODEC_FLAG_QSCALE;
        context.global_quality = 2 * FF_QP2LAMBDA;
    }
    detail::DictionaryPtr owned(options);
    AVDictionary* given = owned.release();
    const int status = avcodec_open2(&context, codec, &given);
    owned.reset(given);
    if (status < 0)
        return std::unexpected(makeError(status, "cannot encode the pictures at the cut"));
    encoder.m_lengthSize = nalLengthSize(parameters.codec_id, parameters.extradata, parameters.extradata_size);
    return encoder;
}

std::expected<void, Error>
SegmentEncoder::encode(const std::vector<const AVFrame*>& frames, std::int64_t end, std::int64_t decodeDelay,
                       const std::function<std::expected<void, Error>(AVPacket&)>& write) {
    m_decodeDelay = decodeDelay;
    detail::FramePtr copy(av_frame_alloc());
    if (!copy)
        return std::unexpected(Error{ENOMEM, "out of memory"});
    for (std::size_t i = 0; i < frames.size(); ++i) {
        av_frame_unref(copy.get());
        if (const int status = av_frame_ref(copy.get(), frames[i]); status < 0)
            return std::unexpected(makeError(status, "cannot encode the pictures at the cut"));
        const std::int64_t next = i + 1 < frames.size() ? frames[i + 1]->best_effort_timestamp : end;
        copy->pts = frames[i]->best_effort_timestamp;
        copy->pict_type = i == 0 ? AV_PICTURE_TYPE_I : AV_PICTURE_TYPE_NONE;
        m_durations.emplace_back(copy->pts, std::max<std::int64_t>(1, next - copy->pts));
        if (const int status = avcodec_send_frame(m_context.get(), copy.get()); status < 0)
            return std::unexpected(makeError(status, "cannot encode the pictures at the cut"));
        if (auto drained = drain(write); !drained)
            return drained;
    }
    if (const int status = avcodec_send_frame(m_context.get(), nullptr); status < 0)
        return std::unexpected(makeError(status, "cannot encode the pictures at the cut"));
    return drain(write);
}

std::expected<void, Error>
SegmentEncoder::drain(const std::function<std::expected<void, Error>(AVPacket&)>& write) {
    detail::PacketPtr packet(av_packet_alloc());
    if (!packet)
        return std::unexpected(Error{ENOMEM, "out of memory"});
    for (;;) {
        const int status = avcodec_receive_packet(m_context.get(), packet.get());
        if (status == detail::kErrorAgain || status == detail::errorEndOfFile())
            return {};
        if (status < 0)
            return std::unexpected(makeError(status, "cannot encode the pictures at the cut"));
        packet->dts = packet->pts - m_decodeDelay;
        const auto known = std::find_if(m_durations.begin(), m_durations.end(),
                                        [&](const auto& entry) { return entry.first == packet->pts; });
        if (known != m_durations.end())
            packet->duration = known->second;
        if (m_lengthSize) {
            const std::vector<std::uint8_t> converted =
                annexBToLengthPrefixed(packet->data, packet->size, *m_lengthSize);
            detail::PacketPtr replacement(av_packet_alloc());
            if (!replacement || av_new_packet(replacement.get(), static_cast<int>(converted.size())) < 0)
                return std::unexpected(Error{ENOMEM, "out of memory"});
            std::copy(converted.begin(), converted.end(), replacement->data);
            av_packet_copy_props(replacement.get(), packet.get());
            av_packet_unref(packet.get());
            if (auto written = write(*replacement); !written)
                return written;
            continue;
        }
        if (auto written = write(*packet); !written)
            return written;
        av_packet_unref(packet.get());
    }
}

} // namespace media::split
