#pragma once

// Private to src/media: H.264 and HEVC packets in the two layouts FFmpeg
// knows. Encoders without global headers write start codes (Annex B); MP4
// and QuickTime samples hold each NAL unit behind its big-endian length.

#include <cstdint>
#include <optional>
#include <vector>

namespace media::split {

// The size of the NAL length fields that an avcC or hvcC record announces;
// none for extradata in Annex B layout (or none at all).
std::optional<int> nalLengthSize(int codecId, const std::uint8_t* extradata, int size);

// The NAL units of an Annex B packet, each behind a length field of `lengthSize` bytes.
std::vector<std::uint8_t> annexBToLengthPrefixed(const std::uint8_t* data, int size, int lengthSize);

} // namespace media::split
