#include "media/detail/FFmpeg.h"

#include <cerrno>
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

ChannelLayout ChannelLayout::withChannels(int channels) {
    ChannelLayout made;
    av_channel_layout_default(&made.m_layout, channels);
    return made;
}

std::expected<ChannelLayout, Error> ChannelLayout::copyOf(const AVChannelLayout& layout) {
    ChannelLayout made;
    if (const int status = av_channel_layout_copy(&made.m_layout, &layout); status < 0)
        return std::unexpected(makeError(status, "cannot copy a channel layout"));
    return made;
}

ChannelLayout& ChannelLayout::operator=(ChannelLayout&& other) noexcept {
    if (this != &other) {
        av_channel_layout_uninit(&m_layout);
        m_layout = other.m_layout;
        other.m_layout = {};
    }
    return *this;
}

std::expected<InputContextPtr, Error> openInputFile(const std::filesystem::path& path) {
    AVFormatContext* raw = nullptr;
    AVDictionary* settings = nullptr;
    av_dict_set(&settings, "protocol_whitelist", "file", 0);
    const int status = avformat_open_input(&raw, path.c_str(), nullptr, &settings);
    av_dict_free(&settings);
    if (status < 0)
        return std::unexpected(makeError(status, "cannot open " + path.string()));
    InputContextPtr input(raw);
    if (const int found = avformat_find_stream_info(raw, nullptr); found < 0)
        return std::unexpected(makeError(found, "cannot read " + path.string()));
    return input;
}

std::expected<CodecContextPtr, Error> openDecoder(const AVStream& stream, DecoderThreads threads) {
    const AVCodec* codec = avcodec_find_decoder(stream.codecpar->codec_id);
    if (!codec)
        return std::unexpected(
            Error{AVERROR_DECODER_NOT_FOUND,
                  std::string("no decoder for ") + avcodec_get_name(stream.codecpar->codec_id)});
    CodecContextPtr context(avcodec_alloc_context3(codec));
    if (!context)
        return std::unexpected(Error{ENOMEM, "out of memory"});
    if (const int status = avcodec_parameters_to_context(context.get(), stream.codecpar); status < 0)
        return std::unexpected(makeError(status, "cannot decode"));
    context->pkt_timebase = stream.time_base;
    context->thread_count = threads == DecoderThreads::One ? 1 : 0;
    if (const int status = avcodec_open2(context.get(), codec, nullptr); status < 0)
        return std::unexpected(makeError(status, "cannot decode"));
    return context;
}

std::expected<CodecContextPtr, Error> encoderContextNamed(const char* name) {
    const AVCodec* codec = avcodec_find_encoder_by_name(name);
    if (!codec)
        return std::unexpected(Error{AVERROR_ENCODER_NOT_FOUND, std::string("no ") + name + " encoder"});
    CodecContextPtr context(avcodec_alloc_context3(codec));
    if (!context)
        return std::unexpected(Error{ENOMEM, "out of memory"});
    return context;
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
