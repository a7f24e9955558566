// Decoding the frame shown at a time: seek to the key frame at or before it,
// decode forward, keep the last frame that starts at or before the time.

#include "media/detail/SourceFile.h"

#include <QTransform>

namespace media {

using namespace detail;

namespace {

std::int64_t frameTimestamp(const AVFrame* frame) {
    return frame->best_effort_timestamp != AV_NOPTS_VALUE ? frame->best_effort_timestamp : frame->pts;
}

// Converts a decoded frame to an upright RGB image of the display size.
std::optional<QImage> toImage(const AVFrame* frame, Size displaySize, int clockwiseRotation) {
    const bool sideways = clockwiseRotation % 180 == 90;
    const float wantedWidth = sideways ? displaySize.height : displaySize.width;
    const float wantedHeight = sideways ? displaySize.width : displaySize.height;
    // Sizes come from the file: anything outside what an image can hold is refused
    // before it is turned into an integer.
    constexpr float kLargestSide = 65536;
    if (!(wantedWidth >= 1 && wantedWidth <= kLargestSide && wantedHeight >= 1 &&
          wantedHeight <= kLargestSide) ||
        frame->width <= 0 || frame->height <= 0)
        return std::nullopt;
    const int width = static_cast<int>(wantedWidth);
    const int height = static_cast<int>(wantedHeight);
    ScalerPtr scaler(sws_getContext(frame->width, frame->height, static_cast<AVPixelFormat>(frame->format),
                                    width, height, AV_PIX_FMT_BGRA, SWS_BICUBIC, nullptr, nullptr, nullptr));
    if (!scaler)
        return std::nullopt;
    QImage image(width, height, QImage::Format_ARGB32);
    if (image.isNull())
        return std::nullopt;
    std::uint8_t* planes[4] = {image.bits(), nullptr, nullptr, nullptr};
    int strides[4] = {static_cast<int>(image.bytesPerLine()), 0, 0, 0};
    if (sws_scale(scaler.get(), frame->data, frame->linesize, 0, frame->height, planes, strides) <= 0)
        return std::nullopt;
    if (clockwiseRotation != 0)
        image = image.transformed(QTransform().rotate(clockwiseRotation));
    return image;
}

} // namespace

struct SourceFile::FrameReading final {
    struct Decoder final {
        detail::CodecContextPtr codec;
    };
    std::optional<QImage> pictureImage; // a picture is decoded once
    std::map<int, std::unique_ptr<Decoder>> decoders;

    static void free(FrameReading* reading) { delete reading; }
};

std::optional<QImage> SourceFile::frameImage(int streamIndex, std::int64_t timestamp) {
    if (!m_frames)
        m_frames = FrameReadingPtr(new FrameReading(), &FrameReading::free);
    if (m_isPicture && m_frames->pictureImage)
        return m_frames->pictureImage;
    AVFormatContext* context = format();
    if (!context)
        return std::nullopt;
    AVStream* stream = context->streams[streamIndex];

    auto& decoder = m_frames->decoders[streamIndex];
    if (!decoder) {
        decoder = std::make_unique<FrameReading::Decoder>();
        // One frame at a time: a decoder thread per core would cost more to start than it saves.
        if (auto opened = openDecoder(*stream, DecoderThreads::One))
            decoder->codec = std::move(*opened);
    }
    if (!decoder->codec)
        return std::nullopt;
    AVCodecContext* codec = decoder->codec.get();

    if (av_seek_frame(context, streamIndex, timestamp, AVSEEK_FLAG_BACKWARD) < 0) {
        // Readers that cannot seek by time (picture readers among them) start over from the first byte.
        if (av_seek_frame(context, -1, 0, AVSEEK_FLAG_BYTE) < 0 && avio_seek(context->pb, 0, SEEK_SET) < 0)
            return std::nullopt;
    }
    avcodec_flush_buffers(codec);

    PacketPtr packet(av_packet_alloc());
    FramePtr frame(av_frame_alloc());
    FramePtr shown(av_frame_alloc());
    if (!packet || !frame || !shown)
        return std::nullopt;
    bool haveShown = false;
    bool draining = false;

    // Takes every frame the decoder has ready; answers true once a frame starts after the wanted time.
    auto receiveFrames = [&]() {
        while (avcodec_receive_frame(codec, frame.get()) >= 0) {
            const std::int64_t start = frameTimestamp(frame.get());
            if (haveShown && start != AV_NOPTS_VALUE && start > timestamp) {
                av_frame_unref(frame.get());
                return true;
            }
            // The first decoded frame stands for any time before it.
            av_frame_unref(shown.get());
            av_frame_move_ref(shown.get(), frame.get());
            haveShown = true;
            if (m_isPicture || (start != AV_NOPTS_VALUE && start == timestamp))
                return true;
        }
        return false;
    };

    bool done = false;
    while (!done && !draining) {
        const int status = av_read_frame(context, packet.get());
        if (status < 0) {
            avcodec_send_packet(codec, nullptr);
            draining = true;
            break;
        }
        if (packet->stream_index == streamIndex && avcodec_send_packet(codec, packet.get()) >= 0)
            done = receiveFrames();
        av_packet_unref(packet.get());
    }
    if (draining)
        receiveFrames();
    if (!haveShown)
        return std::nullopt;

    auto image = toImage(shown.get(), displaySize(streamIndex), clockwiseRotation(streamIndex));
    if (m_isPicture)
        m_frames->pictureImage = image;
    return image;
}

} // namespace media
