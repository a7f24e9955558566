#pragma once

// Private to src/media: FFmpeg headers and move-only owners of FFmpeg objects.
// Never include this from a public header.

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/avutil.h>
#include <libavutil/display.h>
#include <libavutil/imgutils.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include "media/Error.h"

#include <cstdint>
#include <expected>
#include <filesystem>
#include <memory>
#include <string>

namespace media::detail {

struct InputContextDeleter final {
    // Closes the demuxer and then the I/O context we opened for it ourselves.
    void operator()(AVFormatContext* context) const;
};
struct CodecContextDeleter final {
    void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
struct FrameDeleter final {
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct PacketDeleter final {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
struct ScalerDeleter final {
    void operator()(SwsContext* context) const { sws_freeContext(context); }
};

struct OutputContextDeleter final {
    // Closes the file the muxer writes to (if it opened one) and frees the muxer.
    void operator()(AVFormatContext* context) const {
        if (context->oformat && !(context->oformat->flags & AVFMT_NOFILE))
            avio_closep(&context->pb);
        avformat_free_context(context);
    }
};
struct ResamplerDeleter final {
    void operator()(SwrContext* context) const { swr_free(&context); }
};
struct AudioFifoDeleter final {
    void operator()(AVAudioFifo* fifo) const { av_audio_fifo_free(fifo); }
};
struct IoContextDeleter final {
    // Flushes and closes an I/O context that avio_open made.
    void operator()(AVIOContext* io) const { avio_closep(&io); }
};
struct DictionaryDeleter final {
    void operator()(AVDictionary* dictionary) const { av_dict_free(&dictionary); }
};
struct BufferDeleter final {
    void operator()(std::uint8_t* buffer) const { av_free(buffer); }
};

using InputContextPtr = std::unique_ptr<AVFormatContext, InputContextDeleter>;
using CodecContextPtr = std::unique_ptr<AVCodecContext, CodecContextDeleter>;
using FramePtr = std::unique_ptr<AVFrame, FrameDeleter>;
using PacketPtr = std::unique_ptr<AVPacket, PacketDeleter>;
using ScalerPtr = std::unique_ptr<SwsContext, ScalerDeleter>;
using OutputContextPtr = std::unique_ptr<AVFormatContext, OutputContextDeleter>;
using ResamplerPtr = std::unique_ptr<SwrContext, ResamplerDeleter>;
using AudioFifoPtr = std::unique_ptr<AVAudioFifo, AudioFifoDeleter>;
using IoContextPtr = std::unique_ptr<AVIOContext, IoContextDeleter>;
using DictionaryPtr = std::unique_ptr<AVDictionary, DictionaryDeleter>;
using BufferPtr = std::unique_ptr<std::uint8_t, BufferDeleter>; // from av_malloc

// A channel layout that frees what it holds (a custom layout owns its channel map).
class ChannelLayout final {
public:
    ChannelLayout() = default;
    // The usual layout for `channels` channels.
    static ChannelLayout withChannels(int channels);
    [[nodiscard]] static std::expected<ChannelLayout, Error> copyOf(const AVChannelLayout& layout);
    ChannelLayout(ChannelLayout&& other) noexcept : m_layout(other.m_layout) { other.m_layout = {}; }
    ChannelLayout& operator=(ChannelLayout&& other) noexcept;
    ChannelLayout(const ChannelLayout&) = delete;
    ChannelLayout& operator=(const ChannelLayout&) = delete;
    ~ChannelLayout() { av_channel_layout_uninit(&m_layout); }

    const AVChannelLayout& operator*() const { return m_layout; }
    // FFmpeg 5.1 takes layouts it only reads as non-const.
    AVChannelLayout* get() { return &m_layout; }

private:
    AVChannelLayout m_layout{};
};

// How many threads a decoder runs: one for a single frame (a preview, a
// picture), where starting a thread per core costs more than it saves; as
// many as the machine has, as ffmpeg does, for decoding whole streams.
enum class DecoderThreads { One, PerCore };
// A local media file opened for reading (no other protocol is followed), its
// streams found.
[[nodiscard]] std::expected<InputContextPtr, Error> openInputFile(const std::filesystem::path& path);

// A decoder of `stream`'s codec, opened with its parameters and time base.
[[nodiscard]] std::expected<CodecContextPtr, Error> openDecoder(const AVStream& stream,
                                                                DecoderThreads threads);

// A context, not yet opened, for the encoder FFmpeg knows by `name`.
[[nodiscard]] std::expected<CodecContextPtr, Error> encoderContextNamed(const char* name);

// FFmpeg's sentence for an error code.
std::string errorText(int code);
Error makeError(int code, const std::string& what);

// AVERROR(EAGAIN) and AVERROR_EOF without the C casts of FFmpeg's macros.
constexpr int kErrorAgain = -EAGAIN;
int errorEndOfFile();

// Makes FFmpeg quiet once per process: failures reach people through our own
// messages. JOINCLIP_FFMPEG_LOG=1 in the environment keeps its log for debugging.
void configureLogging();

} // namespace media::detail
