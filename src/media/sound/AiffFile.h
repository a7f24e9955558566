#pragma once

// Private to src/media: writes an AIFF file of 16-bit big-endian samples to
// an open file, the sizes in its header filled in when it is finished.

#include "media/Error.h"

#include <cstdint>
#include <expected>

namespace media::sound {

class AiffWriter final {
public:
    AiffWriter(int fd, int channels, int sampleRate) : m_fd(fd), m_channels(channels), m_sampleRate(sampleRate) {}

    // Writes the header with the sizes left at 0.
    [[nodiscard]] std::expected<void, Error> begin();
    // Appends `frames` sample frames of interleaved signed 16-bit samples in
    // this machine's byte order (turned big-endian in place).
    [[nodiscard]] std::expected<void, Error> append(std::uint8_t* samples, int frames);
    // Fills in the sizes.
    [[nodiscard]] std::expected<void, Error> finish();

private:
    [[nodiscard]] std::expected<void, Error> writeAt(const std::uint8_t* bytes, std::size_t size, std::int64_t at);

    int m_fd;
    int m_channels;
    int m_sampleRate;
    std::int64_t m_frames = 0;
};

// The 80-bit IEEE extended number AIFF keeps its sample rate in, big-endian.
void writeExtended(double value, std::uint8_t* out);

} // namespace media::sound
