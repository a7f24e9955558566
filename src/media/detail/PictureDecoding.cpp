#include "media/detail/PictureDecoding.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

namespace media::detail {

namespace {

constexpr int kReadBufferSize = 64 * 1024;

// Where the demuxer reads in the bytes.
struct MemoryReader final {
    const QByteArray* bytes = nullptr;
    std::int64_t position = 0;
};

int readBytes(void* opaque, std::uint8_t* buffer, int size) {
    auto* reader = static_cast<MemoryReader*>(opaque);
    const std::int64_t left = reader->bytes->size() - reader->position;
    if (left <= 0)
        return errorEndOfFile();
    const int count = static_cast<int>(std::min<std::int64_t>(left, size));
    std::memcpy(buffer, reader->bytes->constData() + reader->position, static_cast<std::size_t>(count));
    reader->position += count;
    return count;
}

std::int64_t seekBytes(void* opaque, std::int64_t offset, int whence) {
    auto* reader = static_cast<MemoryReader*>(opaque);
    const std::int64_t size = reader->bytes->size();
    std::int64_t target = 0;
    switch (whence & ~AVSEEK_FORCE) {
    case AVSEEK_SIZE:
        return size;
    case SEEK_SET:
        target = offset;
        break;
    case SEEK_CUR:
        target = reader->position + offset;
        break;
    case SEEK_END:
        target = size + offset;
        break;
    default:
        return -EINVAL;
    }
    if (target < 0 || target > size)
        return -EINVAL;
    reader->position = target;
    return target;
}

// The memory reader's I/O context is ours, not one avio_open made, so it is
// freed here rather than by InputContextDeleter.
struct MemoryIoDeleter final {
    void operator()(AVIOContext* io) const {
        av_freep(&io->buffer);
        avio_context_free(&io);
    }
};
struct DemuxerDeleter final {
    void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};

} // namespace

std::expected<FramePtr, Error> decodePicture(const QByteArray& imageFileBytes) {
    configureLogging();
    if (imageFileBytes.isEmpty())
        return std::unexpected(Error{EINVAL, "the picture is empty"});
    MemoryReader reader{&imageFileBytes, 0};
    BufferPtr buffer(static_cast<std::uint8_t*>(av_malloc(kReadBufferSize)));
    if (!buffer)
        return std::unexpected(Error{ENOMEM, "out of memory"});
    // Declared before the demuxer so that it outlives it.
    std::unique_ptr<AVIOContext, MemoryIoDeleter> io(
        avio_alloc_context(buffer.get(), kReadBufferSize, 0, &reader, readBytes, nullptr, seekBytes));
    if (!io)
        return std::unexpected(Error{ENOMEM, "out of memory"});
    buffer.release(); // the I/O context owns its buffer (and may replace it) from here on

    AVFormatContext* rawContext = avformat_alloc_context();
    if (!rawContext)
        return std::unexpected(Error{ENOMEM, "out of memory"});
    rawContext->pb = io.get();
    if (const int status = avformat_open_input(&rawContext, nullptr, nullptr, nullptr); status < 0)
        return std::unexpected(makeError(status, "the picture is in no known image format"));
    std::unique_ptr<AVFormatContext, DemuxerDeleter> context(rawContext);
    if (context->nb_streams < 1 || context->streams[0]->codecpar->codec_type != AVMEDIA_TYPE_VIDEO)
        return std::unexpected(Error{EINVAL, "the picture holds no image"});

    auto opened = openDecoder(*context->streams[0], DecoderThreads::One);
    if (!opened)
        return std::unexpected(
            Error{opened.error().code, "the picture cannot be decoded: " + opened.error().message});
    CodecContextPtr decoder = std::move(*opened);

    PacketPtr packet(av_packet_alloc());
    FramePtr frame(av_frame_alloc());
    if (!packet || !frame)
        return std::unexpected(Error{ENOMEM, "out of memory"});
    bool ended = false;
    for (;;) {
        const int received = avcodec_receive_frame(decoder.get(), frame.get());
        if (received == 0)
            return frame;
        if (received != kErrorAgain || ended)
            return std::unexpected(makeError(received == kErrorAgain ? errorEndOfFile() : received,
                                             "cannot decode the picture"));
        const int read = av_read_frame(context.get(), packet.get());
        if (read == errorEndOfFile()) {
            ended = true;
            avcodec_send_packet(decoder.get(), nullptr);
            continue;
        }
        if (read < 0)
            return std::unexpected(makeError(read, "cannot read the picture"));
        const int sent = packet->stream_index == 0 ? avcodec_send_packet(decoder.get(), packet.get()) : 0;
        av_packet_unref(packet.get());
        if (sent < 0 && sent != kErrorAgain)
            return std::unexpected(makeError(sent, "cannot decode the picture"));
    }
}

} // namespace media::detail
