#include "media/transcode/VideoEncoder.h"

#include "media/transcode/EncoderSetup.h"
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
    const AVPixelFormat pixelFormat = preferredOrFirst(codec->pix_fmts, AV_PIX_FMT_NONE, AV_PIX_FMT_YUV420P);
    const AVPixFmtDescriptor* descriptor = av_pix_fmt_desc_get(pixelFormat);
    encoder->m_format =
        VideoFormat{roundUpToChroma(plan.width, descriptor ? descriptor->log2_chroma_w : 0),
                    roundUpToChroma(plan.height, descriptor ? descriptor->log2_chroma_h : 0), pixelFormat};

    const VideoFormat& format = encoder->m_format;
    const auto configure = [&](AVCodecContext& context) {
        context.width = format.width;
        context.height = format.height;
        context.pix_fmt = format.pixelFormat;
        context.sample_aspect_ratio = AVRational{1, 1};
        context.time_base = plan.videoTimeBase;
        context.framerate = plan.frameRate;
        context.thread_count = 0; // as many as the machine has, as ffmpeg does
        if (settings.videoBitRate > 0)
            context.bit_rate = settings.videoBitRate;
    };
    EncoderOptions options;
    if (settings.videoBitRate <= 0 && hasPrivateOption(*codec, "crf"))
        options.set("crf", std::to_string(settings.crf));
    if (!settings.preset.empty() && hasPrivateOption(*codec, "preset"))
        options.set("preset", settings.preset);
    for (const auto& [name, value] : settings.videoOptions)
        options.set(name, value);
    auto opened =
        openEncoder(*codec, output, configure, options, "video encoder \"" + settings.videoEncoder + "\"");
    if (!opened)
        return std::unexpected(opened.error());
    encoder->m_encoder = std::move(*opened);
    // A constant rate fills every frame time, and so does a container that
    // keeps no frame durations (MPEG-TS and -PS): there a held picture lasts
    // only until the next frame a player reads, so it is repeated at the
    // output's rate up to its end. Otherwise a frame held for a second is
    // repeated, so that players and seeking find one nearby.
    const std::int64_t frameTicks = std::max<std::int64_t>(
        1, plan.frameRate.num > 0 ? av_rescale_q(1, av_inv_q(plan.frameRate), plan.videoTimeBase) : 1);
    encoder->m_maxFrameDuration = plan.constantFrameRate ? 1
                                  : !output.keepsFrameDurations()
                                      ? frameTicks
                                      : av_rescale_q(1, AVRational{1, 1}, plan.videoTimeBase);
    return encoder;
}

std::expected<void, Error> VideoEncoder::addStream() {
    return addEncoderStream(m_encoder, m_output);
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

void VideoEncoder::followStreamTimeBase() {
    const AVRational stream = m_output.streamTimeBase(m_encoder.streamIndex);
    if (av_cmp_q(stream, timeBase()) > 0)
        m_grid = stream;
}

std::expected<void, Error> VideoEncoder::place(FramePtr frame, std::int64_t pts, bool startsSegment) {
    if (m_grid.num > 0) {
        const AVRational base = timeBase();
        pts = av_rescale_q(av_rescale_q_rnd(pts, base, m_grid, AV_ROUND_DOWN), m_grid, base);
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
    // The last repeat lasts one to two times the longest frame, never a sliver.
    while (m_pending && pts - m_pending->pts >= 2 * m_maxFrameDuration) {
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
    if (const int status = avcodec_send_frame(m_encoder.context.get(), frame); status < 0)
        return std::unexpected(m_output.error(status, "cannot encode video"));
    return drain();
}

std::expected<void, Error> VideoEncoder::drain() {
    const auto write = [this](AVPacket& packet) {
        if (auto found = m_durations.find(packet.pts); found != m_durations.end()) {
            packet.duration = found->second;
            m_durations.erase(found);
        }
        return m_output.write(&packet, m_encoder.streamIndex, timeBase());
    };
    return drainEncoder(m_encoder, m_output, write, "video");
}

std::expected<void, Error> VideoEncoder::finish(std::int64_t end) {
    // Where frames keep no durations, a picture held to the end is shown
    // again one frame time before it, so that the movie keeps its length.
    if (m_pending && !m_output.keepsFrameDurations()) {
        const AVRational rate = m_encoder.context->framerate;
        const std::int64_t frameTicks =
            rate.num > 0 && rate.den > 0
                ? std::max<std::int64_t>(1, av_rescale_q(1, av_inv_q(rate), timeBase()))
                : 1;
        if (end - m_pending->pts > frameTicks) {
            FramePtr repeat(av_frame_clone(m_pending.get()));
            if (!repeat)
                return std::unexpected(Error{ENOMEM, "out of memory"});
            if (auto placed = place(std::move(repeat), end - frameTicks, false); !placed)
                return placed;
        }
    }
    if (m_pending) {
        if (auto sent = sendPending(std::max(end, m_pending->pts + 1)); !sent)
            return sent;
    }
    if (const int status = avcodec_send_frame(m_encoder.context.get(), nullptr); status < 0)
        return std::unexpected(m_output.error(status, "cannot encode video"));
    return drain();
}

} // namespace media::transcode
