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

// How many of `total` samples (the priming included) the sound really holds:
// the tag's own count when it fits, else what priming and padding leave;
// none when nothing is left, as then the tag does not belong to this sound.
inline std::optional<std::int64_t> keptSamples(const Gapless& gapless, std::int64_t total) {
    if (gapless.samples > 0 && gapless.priming + gapless.samples <= total)
        return gapless.samples;
    const std::int64_t length = total - gapless.priming - gapless.padding;
    return length > 0 ? std::optional(length) : std::nullopt;
}

} // namespace media::detail
