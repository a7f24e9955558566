#pragma once

// Private to src/media: a decoder of one source stream, multithreaded as
// ffmpeg's own, handing out every frame it makes.

#include "media/detail/FFmpeg.h"

#include <expected>
#include <filesystem>
#include <functional>

namespace media::transcode {

class StreamDecoder final {
public:
    using FrameHandler = std::function<std::expected<void, Error>(detail::FramePtr)>;

    static std::expected<StreamDecoder, Error> open(const AVStream* stream,
                                                    const std::filesystem::path& file);

    const AVCodecContext* context() const { return m_context.get(); }
    // Decodes a packet (nullptr: the end of the stream) and hands each frame
    // made to `handle`. Damaged data is skipped, as players do.
    std::expected<void, Error> decode(const AVPacket* packet, const FrameHandler& handle);

private:
    StreamDecoder() = default;
    std::expected<void, Error> receive(const FrameHandler& handle);
    Error error(int code, const std::string& what) const;

    detail::CodecContextPtr m_context;
    std::filesystem::path m_file;
};

} // namespace media::transcode
