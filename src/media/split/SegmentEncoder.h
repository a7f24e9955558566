#pragma once

// Private to src/media: encodes the few pictures of a split movie that
// cannot be copied (those between a cut and a key frame) in the source's
// codec, so the piece's track keeps one format. Parameter sets travel in the
// encoded packets themselves, under identifiers the source does not use, so
// the copied pictures that follow still decode with the source's own.

#include "media/detail/FFmpeg.h"

#include <expected>
#include <functional>
#include <optional>
#include <vector>

namespace media::split {

class SegmentEncoder final {
public:
    // An encoder of `stream`'s codec for frames like `sample`.
    [[nodiscard]] static std::expected<SegmentEncoder, Error> open(const AVStream& stream, const AVFrame& sample);

    // Encodes frames (pts in the stream's time base, each lasting until the
    // next, the last until `end`) and hands each packet to `write`, in
    // decode order, with dts = pts - `decodeDelay` so that the packets fit
    // before and after copied ones.
    [[nodiscard]] std::expected<void, Error>
    encode(const std::vector<const AVFrame*>& frames, std::int64_t end, std::int64_t decodeDelay,
           const std::function<std::expected<void, Error>(AVPacket&)>& write);

private:
    SegmentEncoder() = default;
    [[nodiscard]] std::expected<void, Error> drain(const std::function<std::expected<void, Error>(AVPacket&)>& write);

    detail::CodecContextPtr m_context;
    std::optional<int> m_lengthSize; // NAL length field size where the container wants it
    std::int64_t m_decodeDelay = 0;
    std::vector<std::pair<std::int64_t, std::int64_t>> m_durations; // pts → duration
};

} // namespace media::split
