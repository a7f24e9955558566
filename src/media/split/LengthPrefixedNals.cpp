#include "media/split/LengthPrefixedNals.h"

extern "C" {
#include <libavcodec/codec_id.h>
}

namespace media::split {

std::optional<int> nalLengthSize(int codecId, const std::uint8_t* extradata, int size) {
    // Both records start with version 1; Annex B starts with a zero byte.
    if (!extradata || size < 1 || extradata[0] != 1)
        return std::nullopt;
    if (codecId == AV_CODEC_ID_H264 && size >= 7)
        return (extradata[4] & 3) + 1;
    if (codecId == AV_CODEC_ID_HEVC && size >= 23)
        return (extradata[21] & 3) + 1;
    return std::nullopt;
}

std::vector<std::uint8_t> annexBToLengthPrefixed(const std::uint8_t* data, int size, int lengthSize) {
    // Where each start code (00 00 01, or 00 00 00 01) ends.
    std::vector<int> starts;
    std::vector<int> codeStarts;
    for (int i = 0; i + 2 < size; ++i) {
        if (data[i] == 0 && data[i + 1] == 0 && data[i + 2] == 1) {
            codeStarts.push_back(i > 0 && data[i - 1] == 0 ? i - 1 : i);
            starts.push_back(i + 3);
            i += 2;
        }
    }
    std::vector<std::uint8_t> out;
    out.reserve(static_cast<std::size_t>(size) + 4 * starts.size());
    for (std::size_t n = 0; n < starts.size(); ++n) {
        int end = n + 1 < starts.size() ? codeStarts[n + 1] : size;
        // Trailing zero bytes belong to no NAL unit.
        while (end > starts[n] && data[end - 1] == 0)
            --end;
        const auto length = static_cast<std::uint32_t>(end - starts[n]);
        if (length == 0)
            continue;
        for (int shift = 8 * (lengthSize - 1); shift >= 0; shift -= 8)
            out.push_back(static_cast<std::uint8_t>(length >> shift));
        out.insert(out.end(), data + starts[n], data + end);
    }
    return out;
}

} // namespace media::split
