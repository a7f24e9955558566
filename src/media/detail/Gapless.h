#pragma once

// Private to src/media: iTunes' gapless playback tag ("iTunSMPB"), which
// AAC and MP3 files from iTunes and other encoders carry in place of an edit
// list or an encoder header: " 00000000 PPPPPPPP QQQQQQQQ NNNNNNNNNNNNNNNN",
// in hexadecimal, the priming samples at the start, the padding samples at
// the end and the samples the sound really holds.

#include <cstdint>
#include <cstdio>
#include <optional>

namespace media::detail {

struct Gapless final {
    std::int64_t priming = 0;
    std::int64_t padding = 0;
    std::int64_t samples = 0; // 0 when the tag does not say
};

// The tag's values; none when it is malformed or tells no priming. Values no
// encoder writes (priming of a second and more at 48 kHz) are refused, as a
// damaged tag must not cut real sound.
inline std::optional<Gapless> parseGapless(const char* text) {
    unsigned reserved = 0, priming = 0, padding = 0;
    unsigned long long samples = 0;
    const int read = text ? std::sscanf(text, " %x %x %x %llx", &reserved, &priming, &padding, &samples) : 0;
    if (read < 3 || priming == 0 || priming >= 48000 || padding >= 48000)
        return std::nullopt;
    return Gapless{priming, padding,
                   read == 4 && samples < (1ULL << 48) ? static_cast<std::int64_t>(samples) : 0};
}

} // namespace media::detail
