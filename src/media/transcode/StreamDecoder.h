#pragma once

// Private to src/media: a decoder of one source stream, multithreaded as
// ffmpeg's own, handing out every frame it makes.

#include "media/detail/FFmpeg.h"

#include <expected>
#include <filesystem>
#include <functional>
#include <vector>

namespace media::transcode {

class StreamDecoder final {
public:
    using FrameHandler = std::function<std::expected<void, Error>(detail::FramePtr)>;

    [[nodiscard]] static std::expected<StreamDecoder, Error> open(const AVStream* stream,
                                                                  const std::filesystem::path& file);

    const AVCodecContext* context() const { return m_context.get(); }
    // Decodes a packet (nullptr: the end of the stream) and hands each frame
    // made to `handle`. Damaged data is skipped, as players do.
    [[nodiscard]] std::expected<void, Error> decode(const AVPacket* packet, const FrameHandler& handle);

private:
    StreamDecoder() = default;
    [[nodiscard]] std::expected<void, Error> receive(const FrameHandler& handle);
    Error error(int code, const std::string& what) const;

    detail::CodecContextPtr m_context;
    std::filesystem::path m_file;
};

// One stream that decodeStreams decodes.
struct DecodedStream final {
    int index = -1;
    StreamDecoder* decoder = nullptr;
    StreamDecoder::FrameHandler handle;
    // Whether its frames are still wanted; once not, its packets are skipped.
    std::function<bool()> wanted;
};

// Reads the packets of `format` (the file `file`) and decodes those of the
// streams, until `isDone` answers true or the file ends; then the decoders
// of the streams still wanted hand over the frames they hold.
[[nodiscard]] std::expected<void, Error> decodeStreams(AVFormatContext& format,
                                                       const std::filesystem::path& file,
                                                       const std::vector<DecodedStream>& streams,
                                                       const std::function<bool()>& isDone);

} // namespace media::transcode
