#pragma once

// Private to src/media: writes a Core Audio Format file of AAC packets to an
// open file (FFmpeg 5.1's CAF writer does not take AAC): the description, the
// decoder's configuration as an MPEG-4 elementary stream descriptor, the
// packets, and the packet table with the priming and remainder frames.

#include "media/Error.h"

#include <cstdint>
#include <expected>
#include <vector>

namespace media::sound {

class CafAacWriter final {
public:
    CafAacWriter(int fd, int sampleRate, int channels) : m_fd(fd), m_sampleRate(sampleRate), m_channels(channels) {}

    // Writes everything before the packets. `config` is the AudioSpecificConfig.
    [[nodiscard]] std::expected<void, Error> begin(const std::vector<std::uint8_t>& config, std::int64_t bitRate);
    [[nodiscard]] std::expected<void, Error> append(const std::uint8_t* packet, int size);
    // Writes the packet table: `validFrames` sound frames after `primingFrames`.
    [[nodiscard]] std::expected<void, Error> finish(std::int64_t validFrames, int primingFrames);

private:
    [[nodiscard]] std::expected<void, Error> writeAt(const std::vector<std::uint8_t>& bytes, std::int64_t at);

    int m_fd;
    int m_sampleRate;
    int m_channels;
    std::int64_t m_dataSizeAt = 0; // where the data chunk's size goes
    std::int64_t m_end = 0;
    std::vector<std::uint32_t> m_sizes;
};

} // namespace media::sound
