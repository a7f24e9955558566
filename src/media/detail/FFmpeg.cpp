#include "media/detail/FFmpeg.h"

#include <cstdlib>
#include <mutex>

namespace media::detail {

void InputContextDeleter::operator()(AVFormatContext* context) const {
    AVIOContext* io = context->pb;
    const bool ownIo = (context->flags & AVFMT_FLAG_CUSTOM_IO) != 0;
    avformat_close_input(&context);
    if (ownIo)
        avio_closep(&io);
}

std::string errorText(int code) {
    char buffer[AV_ERROR_MAX_STRING_SIZE] = {};
    if (av_strerror(code, buffer, sizeof buffer) < 0)
        return "error " + std::to_string(code);
    return buffer;
}

Error makeError(int code, const std::string& what) {
    return Error{code, what + ": " + errorText(code)};
}

int errorEndOfFile() {
    return AVERROR_EOF;
}

void configureLogging() {
    static std::once_flag once;
    std::call_once(once, [] {
        const char* wanted = std::getenv("JOINCLIP_FFMPEG_LOG");
        av_log_set_level(wanted && *wanted == '1' ? AV_LOG_INFO : AV_LOG_QUIET);
    });
}

} // namespace media::detail
