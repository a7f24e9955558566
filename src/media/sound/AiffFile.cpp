#include "media/sound/AiffFile.h"

#include "media/detail/WriteAllAt.h"

#include <array>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <string>

namespace media::sound {

namespace {

// FORM header (12) + COMM chunk (8 + 18) + SSND chunk header (8 + 8).
constexpr std::int64_t kHeaderSize = 54;

void put32(std::uint8_t* out, std::uint32_t value) {
    out[0] = static_cast<std::uint8_t>(value >> 24);
    out[1] = static_cast<std::uint8_t>(value >> 16);
    out[2] = static_cast<std::uint8_t>(value >> 8);
    out[3] = static_cast<std::uint8_t>(value);
}

void put16(std::uint8_t* out, std::uint16_t value) {
    out[0] = static_cast<std::uint8_t>(value >> 8);
    out[1] = static_cast<std::uint8_t>(value);
}

} // namespace

void writeExtended(double value, std::uint8_t* out) {
    std::memset(out, 0, 10);
    if (!(value > 0))
        return;
    int exponent = 0;
    const double mantissa = std::frexp(value, &exponent); // value = mantissa * 2^exponent, 0.5 <= mantissa < 1
    const auto biased = static_cast<std::uint16_t>(exponent - 1 + 16383);
    const auto bits = static_cast<std::uint64_t>(std::ldexp(mantissa, 64));
    put16(out, biased);
    put32(out + 2, static_cast<std::uint32_t>(bits >> 32));
    put32(out + 6, static_cast<std::uint32_t>(bits));
}

std::expected<void, Error> AiffWriter::writeAt(const std::uint8_t* bytes, std::size_t size, std::int64_t at) {
    if (auto written = detail::writeAllAt(m_fd, {bytes, size}, static_cast<std::uint64_t>(at)); !written)
        return std::unexpected(
            Error{written.error(), std::string("cannot write the sound file: ") + std::strerror(written.error())});
    return {};
}

std::expected<void, Error> AiffWriter::begin() {
    return finish();
}

std::expected<void, Error> AiffWriter::append(std::uint8_t* samples, int frames) {
    const std::size_t bytes = static_cast<std::size_t>(frames) * 2 * static_cast<std::size_t>(m_channels);
    // AIFF sizes are 32-bit: the sound data must stay below 4 GiB.
    if (kHeaderSize + (m_frames * 2 * m_channels) + static_cast<std::int64_t>(bytes) > 0xFFFFFFFFLL)
        return std::unexpected(Error{EFBIG, "the sound is too long for an AIFF file"});
    for (std::size_t i = 0; i + 1 < bytes; i += 2) {
        std::uint16_t sample = 0;
        std::memcpy(&sample, samples + i, 2);
        put16(samples + i, sample);
    }
    if (auto written = writeAt(samples, bytes, kHeaderSize + m_frames * 2 * m_channels); !written)
        return written;
    m_frames += frames;
    return {};
}

std::expected<void, Error> AiffWriter::finish() {
    const auto dataBytes = static_cast<std::uint32_t>(m_frames * 2 * m_channels);
    std::array<std::uint8_t, kHeaderSize> header{};
    std::memcpy(header.data(), "FORM", 4);
    put32(header.data() + 4, static_cast<std::uint32_t>(kHeaderSize - 8) + dataBytes);
    std::memcpy(header.data() + 8, "AIFF", 4);
    std::memcpy(header.data() + 12, "COMM", 4);
    put32(header.data() + 16, 18);
    put16(header.data() + 20, static_cast<std::uint16_t>(m_channels));
    put32(header.data() + 22, static_cast<std::uint32_t>(m_frames));
    put16(header.data() + 26, 16);
    writeExtended(m_sampleRate, header.data() + 28);
    std::memcpy(header.data() + 38, "SSND", 4);
    put32(header.data() + 42, 8 + dataBytes);
    // Offset and block size 0.
    return writeAt(header.data(), header.size(), 0);
}

} // namespace media::sound
