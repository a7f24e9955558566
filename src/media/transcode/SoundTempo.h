#pragma once

// Private to src/media: sound played faster or slower with its pitch kept,
// through libavfilter's atempo (loaded when first needed), for segments
// whose duration was scaled.

#include "media/detail/FFmpeg.h"
#include "media/detail/FilterLibrary.h"

#include <expected>
#include <functional>
#include <string>

namespace media::transcode {

// The atempo filters that together change the tempo by `tempo` (2 plays
// twice as fast), each within the range one filter accepts.
std::string atempoChain(double tempo);

class SoundTempo final {
public:
    using FrameHandler = std::function<std::expected<void, Error>(AVFrame& frame)>;

    // `filters`: the chain the decoded sound goes through, in FFmpeg's graph
    // syntax (atempoChain, with whatever else is wanted around it). The graph
    // is made when the first frame tells the sound's format; `what` names the
    // file in errors.
    SoundTempo(std::string filters, std::string what);

    // Sends a decoded frame whose timestamps are in `timeBase` (nullptr: the
    // end) and hands every frame that comes out to `take`.
    [[nodiscard]] std::expected<void, Error> push(AVFrame* frame, AVRational timeBase,
                                                  const FrameHandler& take);

private:
    [[nodiscard]] std::expected<void, Error> configure(const AVFrame& frame, AVRational timeBase);

    std::string m_filters;
    std::string m_what;
    detail::FilterChain m_chain;
    detail::FramePtr m_out;
};

} // namespace media::transcode
