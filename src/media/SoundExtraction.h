#pragma once

#include "media/Error.h"

#include <cstdint>
#include <expected>
#include <filesystem>
#include <functional>

namespace media {

// The most sample frames one step of the extraction reads and writes: memory
// stays small for any length of sound, and a cancel is seen within one step.
inline constexpr int kSoundChunkFrames = 4096;

struct ExtractedSound final {
    int sampleRate = 0;
    int channels = 0;
    std::int64_t frames = 0;
};

// Writes the sound of the movie file `source` as a player plays it (its
// enabled sound tracks mixed, each from where it starts; the longest track
// when none is marked enabled) to `destination` as an AIFF file of 16-bit
// big-endian samples at the mix's rate and channel count (the highest of its
// tracks'), in steps of at most kSoundChunkFrames frames.
// `progress` is asked before each step with the fraction done and answers
// false to cancel. Written atomically: a failure or cancel leaves nothing,
// and an existing file is replaced only by a complete one.
[[nodiscard]] std::expected<ExtractedSound, Error>
extractSoundToAiff(const std::filesystem::path& source, const std::filesystem::path& destination,
                   const std::function<bool(double)>& progress = {});

// The two copies made from an extracted sound file, beside it with its name.
enum class SoundCopy {
    CoreAudioAac,  // name.caf: Core Audio Format, AAC at 192,000 bits per second
    WaveUnsigned8, // name.wav: WAVE, unsigned 8-bit samples
};
// The path of that copy of `sound`.
std::filesystem::path soundCopyPath(const std::filesystem::path& sound, SoundCopy copy);
// Makes that copy of `sound` (written atomically, replacing an older one).
[[nodiscard]] std::expected<std::filesystem::path, Error> makeSoundCopy(const std::filesystem::path& sound,
                                                                        SoundCopy copy);

} // namespace media
