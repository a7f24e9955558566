#pragma once

// Private to src/media: what every encoder of a transcoded movie does alike,
// opening it for the output and handing its packets on.

#include "media/detail/FFmpeg.h"
#include "media/transcode/EncoderOptions.h"

#include <expected>
#include <functional>
#include <string>

namespace media::transcode {

class OutputMovie;

struct OpenedEncoder final {
    detail::CodecContextPtr context;
    detail::PacketPtr packet; // reused for every packet the encoder makes
    int streamIndex = -1;     // its stream in the output, once added
};

// `preferred` where the encoder takes it or does not say what it takes, else
// the first format it takes (`supported` is its list, ending in `end`).
template <typename Format>
[[nodiscard]] Format preferredOrFirst(const Format* supported, Format end, Format preferred) {
    if (!supported)
        return preferred;
    for (const Format* format = supported; *format != end; ++format)
        if (*format == preferred)
            return preferred;
    return supported[0];
}

// Opens `codec` for `output`: `configure` sets the context's fields (size,
// formats, time base...), parameter sets go in the stream header where the
// container wants them, and `options` are applied. `what` names it in errors.
[[nodiscard]] std::expected<OpenedEncoder, Error>
openEncoder(const AVCodec& codec, const OutputMovie& output,
            const std::function<void(AVCodecContext&)>& configure, EncoderOptions& options,
            const std::string& what);

// Adds the encoder's stream to `output` (before the output's header is
// written) and keeps its index.
[[nodiscard]] std::expected<void, Error> addEncoderStream(OpenedEncoder& encoder, OutputMovie& output);

// Hands every packet the encoder has ready to `write`; `what` names the
// media in errors ("video", "sound").
[[nodiscard]] std::expected<void, Error>
drainEncoder(OpenedEncoder& encoder, const OutputMovie& output,
             const std::function<std::expected<void, Error>(AVPacket&)>& write, const std::string& what);

} // namespace media::transcode
