#pragma once

// Private to src/media: options for opening an encoder, by FFmpeg's names,
// where an option the encoder does not know is an error rather than ignored.

#include "media/detail/FFmpeg.h"

#include <expected>
#include <string>

namespace media::transcode {

// Whether the encoder has an option of its own (not a generic one) of that name.
[[nodiscard]] bool hasPrivateOption(const AVCodec& codec, const char* name);

class EncoderOptions final {
public:
    EncoderOptions() = default;
    EncoderOptions(const EncoderOptions&) = delete;
    EncoderOptions& operator=(const EncoderOptions&) = delete;
    ~EncoderOptions();

    void set(const std::string& name, const std::string& value);
    // Opens the encoder with the options; `what` names it in errors.
    [[nodiscard]] std::expected<void, Error> open(AVCodecContext* context, const AVCodec* codec,
                                                  const std::string& what);

private:
    AVDictionary* m_options = nullptr;
};

} // namespace media::transcode
