#include "media/transcode/VideoEncoder.h"

#include "media/transcode/EncoderOptions.h"
#include "media/transcode/OutputMovie.h"

extern "C" {
#include <libavutil/opt.h>
#include <libavutil/pixdesc.h>
}

#include <algorithm>
#include <cerrno>

namespace media::transcode {

using namespace media::detail;

namespace {

AVPixelFormat choosePixelFormat(const AVCodec* codec) {
    if (!codec->pix_fmts)
        return AV_PIX_FMT_YUV420P;
    for (const AVPixelFormat* format = codec->pix_fmts; *format != AV_PIX_FMT_NONE; ++format)
        if (*format == AV_PIX_FMT_YUV420P)
            return *format;
    return codec->pix_fmts[0];
}

// Rounds up to a whole number of chroma samples (2 pixels for 4:2:0).
int roundUpToChroma(int size, int log2Subsampling) {
    const int step = 1 << log2Subsampling;
    return (size + step - 1) / step * step;
}

} // namespace

VideoEncoder::~VideoEncoder() = default;

std::expected<std::unique_ptr<VideoEncoder>, Error>
VideoEncoder::open(const EncoderSettings& settings, const JoinPlan& plan, OutputMovie& output) {
    const AVCodec* codec = avcodec_find_encoder_by_name(settings.videoEncoder.c_str());
    if (!codec || codec->type != AVMEDIA_TYPE_VIDEO)
        return std::unexpected(Error{EINVAL, "no video encoder is named \"" + settings.videoEncoder + "\""});

    std::unique_ptr<VideoEncoder> encoder(new VideoEncoder(output));
    const AVPixelFormat pixelFormat = choosePixelFormat(codec);
    const AVPixFmtDescriptor* descriptor = av_pix_fmt_desc_get(pixelFormat);
    encoder->m_format =
        VideoFormat{roundUpToChroma(plan.width, descriptor ? descriptor->log2_chroma_w : 0),
                    roundUpToChroma(plan.height, descriptor ? descriptor->log2_chroma_h : 0), pixelFormat};

    encoder->m_encoder.reset(avcodec_alloc_context3(codec));
    encoder->m_packet.reset(av_packet_alloc());
    AVCodecContext* context = encoder->m_encoder.get();
    if (!context || !encoder->m_packet)
        return std::unexpected(Error{ENOMEM, "out of memory"});
    context->width = encoder->m_format.width;
    context->height = encoder->m_format.height;
    context->pix_fmt = pixelFormat;
    context->sample_aspect_ratio = AVRational{1, 1};
    context->time_base = plan.videoTimeBase;
    context->framerate = plan.frameRate;
    if (settings.frameRateNum > 0 && settings.frameRateDen > 0) {
        context->framerate = AVRational{settings.frameRateNum, settings.frameRateDen};
        encoder->m_frameTime = AVRational{settings.frameRateDen, settings.frameRateNum};
    }
    context->thread_count = 0; // as many as the machine has, as ffmpeg does
    if (settings.videoBitRate > 0)
        context->bit_rate = settings.videoBitRate;
    if (output.wantsGlobalHeaders())
        context->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;

    EncoderOptions options;
    if (settings.videoBitRate <= 0 && hasPrivateOption(context, "crf"))
        options.set("crf", std::to_string(settings.crf));
    if (!settings.preset.empty() && hasPrivateOption(context, "preset"))
        options.set("preset", settings.preset);
    for (const auto& [name, value] : settings.videoOptions)
        options.set(name, value);
    if (auto opened = options.open(context, codec, "video encoder \"" + settings.videoEncoder + "\"");
        !opened)
        return std::unexpected(opened.error());

    encoder->m_maxFrameDuration = av_rescale_q(1, AVRational{1, 1}, context->time_base);
    return encoder;
}

std::expected<void, Error> VideoEncoder::addStream() {
    auto index = m_output.addStream(m_encoder.get());
    if (!index)
        return std::unexpected(index.error());
    m_streamIndex = *index;
    return {};
}

std::expected<FramePtr, Error> VideoEncoder::makeBlackFrame() const {
    FramePtr frame(av_frame_alloc());
    if (!frame)
        return std::unexpected(Error{ENOMEM, "out of memory"});
    frame->width = m_format.width;
    frame->height = m_format.height;
    frame->format = m_format.pixelFormat;
    frame->color_range = AVCOL_RANGE_MPEG;
    frame->sample_aspect_ratio = AVRational{1, 1};
    if (const int status = av_frame_get_buffer(frame.get(), 0); status < 0)
        return std::unexpected(makeError(status, "cannot make a black frame"));
    ptrdiff_t linesizes[4] = {};
    for (int i = 0; i < 4; ++i)
        linesizes[i] = frame->linesize[i];
    if (const int status = av_image_fill_black(frame->data, linesizes, m_format.pixelFormat, AVCOL_RANGE_MPEG,
                                               m_format.width, m_format.height);
        status < 0)
        return std::unexpected(makeError(status, "cannot make a black frame"));
    return frame;
}

std::expected<void, Error> VideoEncoder::place(FramePtr frame, std::int64_t pts, bool startsSegment) {
    if (m_frameTime.num > 0) {
        const AVRational timeBase = m_encoder->time_base;
        pts = av_rescale_q(av_rescale_q_rnd(pts, timeBase, m_frameTime, AV_ROUND_DOWN), m_frameTime, timeBase);
    }
    frame->pict_type = startsSegment ? AV_PICTURE_TYPE_I : AV_PICTURE_TYPE_NONE;
    frame->pts = pts;
    if (m_pending) {
        if (pts < m_pending->pts)
            return {};
        if (pts == m_pending->pts) {
            if (m_pending->pict_type == AV_PICTURE_TYPE_I)
                frame->pict_type = AV_PICTURE_TYPE_I;
            m_pending = std::move(frame);
            return {};
        }
        if (auto sent = sendPending(pts); !sent)
            return sent;
    } else if (m_sentAny && pts <= m_lastSentPts) {
        return {};
    }
    m_pending = std::move(frame);
    return {};
}

std::expected<void, Error> VideoEncoder::holdUntil(std::int64_t pts) {
    // The encoder keeps its own reference to what it is sent, so the pending
    // frame can be sent again, later, as the repeat of a long-held picture.
    while (m_pending && pts - m_pending->pts > m_maxFrameDuration) {
        if (auto sent = send(m_pending.get(), m_maxFrameDuration); !sent)
            return sent;
        m_pending->pts += m_maxFrameDuration;
        m_pending->pict_type = AV_PICTURE_TYPE_NONE;
    }
    return {};
}

std::expected<void, Error> VideoEncoder::sendPending(std::int64_t until) {
    if (auto held = holdUntil(until); !held)
        return held;
    auto sent = send(m_pending.get(), until - m_pending->pts);
    m_pending.reset();
    return sent;
}

std::expected<void, Error> VideoEncoder::send(AVFrame* frame, std::int64_t duration) {
    m_durations[frame->pts] = duration;
    m_lastSentPts = frame->pts;
    m_sentAny = true;
    if (const int status = avcodec_send_frame(m_encoder.get(), frame); status < 0)
        return std::unexpected(m_output.error(status, "cannot encode video"));
    return drain();
}

std::expected<void, Error> VideoEncoder::drain() {
    AVPacket* packet = m_packet.get();
    for (;;) {
        const int status = avcodec_receive_packet(m_encoder.get(), packet);
        if (status == kErrorAgain || status == errorEndOfFile())
            return {};
        if (status < 0)
            return std::unexpected(m_output.error(status, "cannot encode video"));
        if (auto found = m_durations.find(packet->pts); found != m_durations.end()) {
            packet->duration = found->second;
            m_durations.erase(found);
        }
        if (auto written = m_output.write(packet, m_streamIndex, m_encoder->time_base); !written)
            return written;
    }
}

std::expected<void, Error> VideoEncoder::finish(std::int64_t end) {
    if (m_pending) {
        if (auto sent = sendPending(std::max(end, m_pending->pts + 1)); !sent)
            return sent;
    }
    if (const int status = avcodec_send_frame(m_encoder.get(), nullptr); status < 0)
        return std::unexpected(m_output.error(status, "cannot encode video"));
    return drain();
}

} // namespace media::transcode
