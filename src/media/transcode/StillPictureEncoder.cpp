#include "media/transcode/StillPictureEncoder.h"

#include "media/transcode/OutputMovie.h"

#include <algorithm>
#include <cerrno>

namespace media::transcode {

using namespace media::detail;

namespace {

// MPEG-4 Part 2 counts time in at most 16 bits per second.
constexpr std::int32_t kLargestTimeScale = 65535;
constexpr std::int32_t kFallbackTimeScale = 600;

// 4:2:0 needs even sizes: a picture of odd width or height gains a line.
int even(int size) {
    return (size + 1) / 2 * 2;
}

} // namespace

StillPictureEncoder::~StillPictureEncoder() = default;

std::expected<std::unique_ptr<StillPictureEncoder>, Error>
StillPictureEncoder::open(const AVFrame& picture, const Time& duration, OutputMovie& output) {
    if (picture.width <= 0 || picture.height <= 0)
        return std::unexpected(Error{EINVAL, "the picture has no size"});
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MPEG4);
    if (!codec)
        return std::unexpected(Error{ENOSYS, "this FFmpeg has no MPEG-4 video encoder"});

    std::unique_ptr<StillPictureEncoder> encoder(new StillPictureEncoder(output));
    // The duration's own scale where MPEG-4 can count in it, so the picture
    // lasts exactly as long as the sound.
    const std::int32_t scale =
        duration.scale > 0 && duration.scale <= kLargestTimeScale ? duration.scale : kFallbackTimeScale;
    encoder->m_durationTicks = std::max<std::int64_t>(1, convertScale(duration, scale).value);
    const auto configure = [&](AVCodecContext& context) {
        context.width = even(picture.width);
        context.height = even(picture.height);
        context.pix_fmt = AV_PIX_FMT_YUV420P;
        context.sample_aspect_ratio = AVRational{1, 1};
        context.time_base = AVRational{1, scale};
        context.flags |= AV_CODEC_FLAG_QSCALE;
        context.global_quality = FF_QP2LAMBDA * kHighQualityQuantiser;
    };
    EncoderOptions options;
    auto opened = openEncoder(*codec, output, configure, options, "MPEG-4 video encoder");
    if (!opened)
        return std::unexpected(opened.error());
    encoder->m_encoder = std::move(*opened);
    if (auto encoded = encoder->encode(picture); !encoded)
        return std::unexpected(encoded.error());
    return encoder;
}

std::expected<void, Error> StillPictureEncoder::encode(const AVFrame& picture) {
    AVCodecContext* context = m_encoder.context.get();
    FramePtr frame(av_frame_alloc());
    if (!frame)
        return std::unexpected(Error{ENOMEM, "out of memory"});
    frame->width = context->width;
    frame->height = context->height;
    frame->format = context->pix_fmt;
    frame->color_range = AVCOL_RANGE_MPEG;
    if (const int status = av_frame_get_buffer(frame.get(), 0); status < 0)
        return std::unexpected(makeError(status, "cannot convert the picture"));
    ScalerPtr scaler(sws_getContext(picture.width, picture.height, static_cast<AVPixelFormat>(picture.format),
                                    context->width, context->height, context->pix_fmt, SWS_BICUBIC, nullptr,
                                    nullptr, nullptr));
    if (!scaler)
        return std::unexpected(Error{EINVAL, "cannot convert the picture's pixel format"});
    if (sws_scale(scaler.get(), picture.data, picture.linesize, 0, picture.height, frame->data,
                  frame->linesize) <= 0)
        return std::unexpected(Error{EINVAL, "cannot convert the picture"});

    frame->pts = 0;
    frame->pict_type = AV_PICTURE_TYPE_I;
    frame->quality = context->global_quality;
    if (const int status = avcodec_send_frame(context, frame.get()); status < 0)
        return std::unexpected(makeError(status, "cannot encode the picture"));
    if (const int status = avcodec_send_frame(context, nullptr); status < 0)
        return std::unexpected(makeError(status, "cannot encode the picture"));
    if (const int status = avcodec_receive_packet(context, m_encoder.packet.get()); status < 0)
        return std::unexpected(makeError(status, "cannot encode the picture"));
    m_encoder.packet->pts = 0;
    m_encoder.packet->dts = 0;
    m_encoder.packet->duration = m_durationTicks;
    return {};
}

std::expected<void, Error> StillPictureEncoder::addStream() {
    return addEncoderStream(m_encoder, m_output);
}

std::expected<void, Error> StillPictureEncoder::write() {
    return m_output.write(m_encoder.packet.get(), m_encoder.streamIndex, m_encoder.context->time_base);
}

} // namespace media::transcode
