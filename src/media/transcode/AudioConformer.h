#pragma once

// Private to src/media: fits one segment's decoded sound to the output. It is
// resampled to the output's rate, sample format and channel layout; what lies
// before the segment's start is cut, a late start is preceded by silence, and
// the sound ends exactly at the segment's end (cut or padded with silence), so
// that the next segment's sound starts exactly with its video.

#include "media/detail/FFmpeg.h"

#include <cstdint>
#include <expected>
#include <filesystem>
#include <vector>

namespace media::transcode {

class AudioEncoder;

class AudioConformer final {
public:
    AudioConformer(AudioEncoder& encoder, std::int64_t segmentSamples, std::filesystem::path file);
    AudioConformer(const AudioConformer&) = delete;
    AudioConformer& operator=(const AudioConformer&) = delete;
    ~AudioConformer();

    // `offset`: output samples from the segment's start to the frame's first
    // sample (negative when it starts before). Only the first frame's offset
    // places the sound; later frames follow on without gaps.
    [[nodiscard]] std::expected<void, Error> take(const AVFrame& frame, std::int64_t offset);
    // Silence for a segment without sound, up to `offset` output samples into it.
    [[nodiscard]] std::expected<void, Error> silenceUntil(std::int64_t offset);
    // Hands on what the resampler still holds, once the segment's sound has all been taken.
    [[nodiscard]] std::expected<void, Error> drain();
    // Drains the resampler and pads with silence to the segment's end.
    [[nodiscard]] std::expected<void, Error> finish();

    // Whether the segment's sound is all there.
    bool isComplete() const { return m_written >= m_segmentSamples; }
    std::int64_t written() const { return m_written; }

private:
    [[nodiscard]] std::expected<void, Error> configure(const AVFrame& frame);
    // Answers how many samples the resampler made.
    [[nodiscard]] std::expected<int, Error> convert(const std::uint8_t** input, int count);
    [[nodiscard]] std::expected<void, Error> drainResampler();
    [[nodiscard]] std::expected<void, Error> deliver(int count);
    Error error(int code, const std::string& what) const;

    AudioEncoder& m_encoder;
    std::int64_t m_segmentSamples = 0;
    std::filesystem::path m_file;
    std::int64_t m_written = 0;
    std::int64_t m_toDrop = 0;
    bool m_placed = false;

    detail::ResamplerPtr m_resampler;
    int m_inputRate = 0;
    AVSampleFormat m_inputFormat = AV_SAMPLE_FMT_NONE;
    detail::ChannelLayout m_inputLayout;
    detail::FramePtr m_converted; // the resampler's output, reused
    std::vector<const std::uint8_t*> m_planes;
};

} // namespace media::transcode
