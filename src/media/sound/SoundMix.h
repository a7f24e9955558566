#pragma once

// Private to src/media: the sound of a movie as a player plays it, its
// enabled sound tracks mixed, handed out as interleaved 16-bit samples.

#include "media/sound/SoundReader.h"

#include <cstdint>
#include <vector>

namespace media::sound {

class SoundMix final {
public:
    // Opens the sound of `path`. The tracks mixed are those marked enabled
    // (default) or, when none is, the longest one. The mix has the highest
    // sample rate and the most channels of its tracks; each track starts where
    // it starts in the movie, and the mix lasts as long as the longest.
    [[nodiscard]] static std::expected<SoundMix, Error> open(const std::filesystem::path& path);

    int sampleRate() const { return m_tracks.front().reader.sampleRate(); }
    int channels() const { return m_tracks.front().reader.channels(); }
    const AVChannelLayout& channelLayout() const { return m_tracks.front().reader.channelLayout(); }
    // Sample frames the mix should hold by its tracks' durations; -1 when unknown.
    std::int64_t expectedFrames() const { return m_expectedFrames; }
    int trackCount() const { return static_cast<int>(m_tracks.size()); }

    // Up to `frames` sample frames of interleaved 16-bit samples; 0 at the end.
    [[nodiscard]] std::expected<int, Error> read(std::int16_t* data, int frames);

private:
    struct Track final {
        SoundReader reader;
        std::int64_t silence = 0; // frames before the track starts
    };
    SoundMix() = default;
    [[nodiscard]] std::expected<int, Error> readTrack(Track& track, float* data, int frames);

    std::vector<Track> m_tracks;
    std::vector<float> m_sum;
    std::vector<float> m_part;
    std::int64_t m_expectedFrames = -1;
};

} // namespace media::sound
