#include "media/transcode/EncoderSetup.h"

#include "media/transcode/OutputMovie.h"

#include <cerrno>

namespace media::transcode {

using namespace media::detail;

std::expected<OpenedEncoder, Error> openEncoder(const AVCodec& codec, const OutputMovie& output,
                                                const std::function<void(AVCodecContext&)>& configure,
                                                EncoderOptions& options, const std::string& what) {
    OpenedEncoder opened{CodecContextPtr(avcodec_alloc_context3(&codec)), PacketPtr(av_packet_alloc())};
    if (!opened.context || !opened.packet)
        return std::unexpected(Error{ENOMEM, "out of memory"});
    configure(*opened.context);
    if (output.wantsGlobalHeaders())
        opened.context->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if (auto started = options.open(opened.context.get(), &codec, what); !started)
        return std::unexpected(started.error());
    return opened;
}

std::expected<void, Error> addEncoderStream(OpenedEncoder& encoder, OutputMovie& output) {
    auto index = output.addStream(encoder.context.get());
    if (!index)
        return std::unexpected(index.error());
    encoder.streamIndex = *index;
    return {};
}

std::expected<void, Error> drainEncoder(OpenedEncoder& encoder, const OutputMovie& output,
                                        const std::function<std::expected<void, Error>(AVPacket&)>& write,
                                        const std::string& what) {
    for (;;) {
        const int status = avcodec_receive_packet(encoder.context.get(), encoder.packet.get());
        if (status == kErrorAgain || status == errorEndOfFile())
            return {};
        if (status < 0)
            return std::unexpected(output.error(status, "cannot encode " + what));
        if (auto written = write(*encoder.packet); !written)
            return written;
    }
}

} // namespace media::transcode
