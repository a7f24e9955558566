#pragma once

// Private to src/media: the sound encoder of a transcoded join. Samples are
// appended one after the other (the output's sample count is its clock) and
// go to the encoder in frames of exactly the size it asks for.

#include "media/detail/FFmpeg.h"
#include "media/transcode/EncoderSetup.h"
#include "media/transcode/TranscodeJoin.h"

#include <cstdint>
#include <expected>
#include <memory>
#include <vector>

namespace media::transcode {

class OutputMovie;

class AudioEncoder final {
public:
    // `sampleRate` is a wish: the encoder's nearest supported rate is taken.
    [[nodiscard]] static std::expected<std::unique_ptr<AudioEncoder>, Error>
    open(const EncoderSettings& settings, int sampleRate, int channels, OutputMovie& output);
    // Adds the encoder's stream to the output; before the output begins.
    [[nodiscard]] std::expected<void, Error> addStream();

    AudioEncoder(const AudioEncoder&) = delete;
    AudioEncoder& operator=(const AudioEncoder&) = delete;
    ~AudioEncoder();

    int sampleRate() const { return m_encoder.context->sample_rate; }
    AVSampleFormat sampleFormat() const { return m_encoder.context->sample_fmt; }
    const AVChannelLayout& channelLayout() const { return m_encoder.context->ch_layout; }
    // Samples appended so far: where the next one lands in the output.
    std::int64_t position() const { return m_position; }

    // `count` samples in sampleFormat() and channelLayout(): one pointer per plane.
    [[nodiscard]] std::expected<void, Error> append(const std::uint8_t* const* planes, int count);
    [[nodiscard]] std::expected<void, Error> appendSilence(std::int64_t count);
    // Encodes what is left and drains the encoder.
    [[nodiscard]] std::expected<void, Error> finish();

private:
    AudioEncoder(OutputMovie& output) : m_output(output) {}

    [[nodiscard]] std::expected<void, Error> encodeQueued(int count);
    [[nodiscard]] std::expected<void, Error> sendFrame(AVFrame* frame);

    OutputMovie& m_output;
    OpenedEncoder m_encoder;
    detail::AudioFifoPtr m_fifo;
    detail::FramePtr m_silence;
    std::vector<void*> m_planes;
    int m_frameSize = 0;
    bool m_takesShortLastFrame = false;
    std::int64_t m_position = 0;
    std::int64_t m_encodedSamples = 0;
};

} // namespace media::transcode
