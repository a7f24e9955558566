#include "media/transcode/StreamDecoder.h"

#include <cerrno>

namespace media::transcode {

using namespace media::detail;

Error StreamDecoder::error(int code, const std::string& what) const {
    return makeError(code, "\"" + m_file.string() + "\": " + what);
}

std::expected<StreamDecoder, Error> StreamDecoder::open(const AVStream* stream,
                                                        const std::filesystem::path& file) {
    auto opened = openDecoder(*stream, DecoderThreads::PerCore);
    if (!opened)
        return std::unexpected(
            Error{opened.error().code, "\"" + file.string() + "\": " + opened.error().message});
    StreamDecoder decoder;
    decoder.m_file = file;
    decoder.m_context = std::move(*opened);
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

std::expected<void, Error> decodeStreams(AVFormatContext& format, const std::filesystem::path& file,
                                         const std::vector<DecodedStream>& streams,
                                         const std::function<bool()>& isDone) {
    PacketPtr packet(av_packet_alloc());
    if (!packet)
        return std::unexpected(Error{ENOMEM, "out of memory"});
    while (!isDone()) {
        const int status = av_read_frame(&format, packet.get());
        if (status == errorEndOfFile())
            break;
        if (status < 0)
            return std::unexpected(makeError(status, "\"" + file.string() + "\": cannot read"));
        std::expected<void, Error> decoded;
        for (const DecodedStream& stream : streams)
            if (packet->stream_index == stream.index && stream.wanted()) {
                decoded = stream.decoder->decode(packet.get(), stream.handle);
                break;
            }
        av_packet_unref(packet.get());
        if (!decoded)
            return decoded;
    }
    // The decoders still hold the frames of the last packets.
    for (const DecodedStream& stream : streams)
        if (stream.wanted())
            if (auto flushed = stream.decoder->decode(nullptr, stream.handle); !flushed)
                return flushed;
    return {};
}

} // namespace media::transcode
