#include "media/transcode/StreamDecoder.h"

#include <cerrno>

namespace media::transcode {

using namespace media::detail;

Error StreamDecoder::error(int code, const std::string& what) const {
    return makeError(code, "\"" + m_file.string() + "\": " + what);
}

std::expected<StreamDecoder, Error> StreamDecoder::open(const AVStream* stream,
                                                        const std::filesystem::path& file) {
    StreamDecoder decoder;
    decoder.m_file = file;
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!codec)
        return std::unexpected(
            Error{AVERROR_DECODER_NOT_FOUND, "\"" + file.string() + "\": no decoder for " +
                                                 avcodec_get_name(stream->codecpar->codec_id)});
    decoder.m_context.reset(avcodec_alloc_context3(codec));
    AVCodecContext* context = decoder.m_context.get();
    if (!context)
        return std::unexpected(Error{ENOMEM, "out of memory"});
    if (const int status = avcodec_parameters_to_context(context, stream->codecpar); status < 0)
        return std::unexpected(decoder.error(status, "cannot decode"));
    context->pkt_timebase = stream->time_base;
    context->thread_count = 0; // as many as the machine has, as ffmpeg does
    if (const int status = avcodec_open2(context, codec, nullptr); status < 0)
        return std::unexpected(decoder.error(status, "cannot decode"));
    return decoder;
}

std::expected<void, Error> StreamDecoder::decode(const AVPacket* packet, const FrameHandler& handle) {
    const int status = avcodec_send_packet(m_context.get(), packet);
    if (status < 0 && status != AVERROR_INVALIDDATA && status != errorEndOfFile())
        return std::unexpected(error(status, "cannot decode"));
    return receive(handle);
}

std::expected<void, Error> StreamDecoder::receive(const FrameHandler& handle) {
    for (;;) {
        FramePtr frame(av_frame_alloc());
        if (!frame)
            return std::unexpected(Error{ENOMEM, "out of memory"});
        const int status = avcodec_receive_frame(m_context.get(), frame.get());
        if (status == kErrorAgain || status == errorEndOfFile())
            return {};
        if (status == AVERROR_INVALIDDATA)
            continue;
        if (status < 0)
            return std::unexpected(error(status, "cannot decode"));
        if (auto handled = handle(std::move(frame)); !handled)
            return handled;
    }
}

} // namespace media::transcode
