#pragma once

// Private to src/media: the decoded sound of one stream of a file, handed
// out as interleaved samples of one format, in chunks of a bounded number of
// sample frames.

#include "media/detail/FFmpeg.h"

#include <expected>
#include <filesystem>
#include <functional>

namespace media::sound {

class SoundReader final {
public:
    // Opens the longest sound stream of `path`, to be read as `format`
    // (interleaved or planar) at its own rate and channel count.
    [[nodiscard]] static std::expected<SoundReader, Error> open(const std::filesystem::path& path,
                                                               AVSampleFormat format);
    // Opens sound stream `stream` of `path`, to be read as `format` converted
    // to `sampleRate` and `layout`.
    [[nodiscard]] static std::expected<SoundReader, Error> openStream(const std::filesystem::path& path, int stream,
                                                                     AVSampleFormat format, int sampleRate,
                                                                     const AVChannelLayout& layout);

    int sampleRate() const { return m_sampleRate; }
    int channels() const { return (*m_layout).nb_channels; }
    const AVChannelLayout& channelLayout() const { return *m_layout; }
    // Sample frames the stream should hold by its duration; -1 when unknown.
    std::int64_t expectedFrames() const { return m_expectedFrames; }

    // Up to `frames` sample frames, read as `data` (one pointer per plane);
    // 0 at the end of the sound.
    [[nodiscard]] std::expected<int, Error> read(std::uint8_t** data, int frames);

private:
    SoundReader() = default;
    [[nodiscard]] static std::expected<SoundReader, Error> openInput(const std::filesystem::path& path);
    // Opens the decoder of m_stream and a converter to `format` at `sampleRate`
    // and `layout` (the stream's own where they are 0 and null).
    [[nodiscard]] std::expected<void, Error> prepare(AVSampleFormat format, int sampleRate,
                                                     const AVChannelLayout* layout);
    [[nodiscard]] std::expected<void, Error> fill(int frames);
    [[nodiscard]] std::expected<void, Error> convert(const AVFrame* input);

    detail::InputContextPtr m_input;
    detail::CodecContextPtr m_decoder;
    detail::ResamplerPtr m_resampler;
    detail::AudioFifoPtr m_fifo;
    detail::PacketPtr m_packet;
    detail::FramePtr m_frame;
    AVSampleFormat m_format = AV_SAMPLE_FMT_S16;
    int m_sampleRate = 0;
    detail::ChannelLayout m_layout; // the layout read out
    int m_stream = -1;
    std::int64_t m_expectedFrames = -1;
    bool m_drained = false;
};

} // namespace media::sound
