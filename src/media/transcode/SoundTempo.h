#pragma once

// Private to src/media: sound played faster or slower with its pitch kept,
// through libavfilter (loaded when first needed), for segments
// whose duration was scaled.

#include "media/detail/FFmpeg.h"
#include "media/detail/FilterLibrary.h"

#include <expected>
#include <functional>
#include <string>

namespace media::transcode {

// The filters that together change the tempo by `tempo` (2 plays twice as
// fast) with the pitch kept, each within the range one filter accepts:
// Rubber Band, which keeps every onset where the new tempo places it, when
// libavfilter has it; else atempo, whose onsets land up to 27 ms early.
std::string tempoChain(double tempo);

class SoundTempo final {
public:
    using FrameHandler = std::function<std::expected<void, Error>(AVFrame& frame)>;

    // `filters`: the chain the decoded sound goes through, in FFmpeg's graph
    // syntax (tempoChain, with whatever else is wanted around it). The graph
    // is made when the first frame tells the sound's format; `what` names the
    // file in errors.
    SoundTempo(std::string filters, std::string what);

    // Sends a decoded frame whose timestamps are in `timeBase` (nullptr: the
    // end) and hands every frame that comes out to `take`. At the end the
    // filters are flushed with silence, so that all the sound they hold comes
    // out, followed by silence: the caller cuts the sound at its length.
    [[nodiscard]] std::expected<void, Error> push(AVFrame* frame, AVRational timeBase,
                                                  const FrameHandler& take);

private:
    [[nodiscard]] std::expected<void, Error> configure(const AVFrame& frame, AVRational timeBase);
    [[nodiscard]] std::expected<void, Error> send(AVFrame* frame, const FrameHandler& take);
    [[nodiscard]] std::expected<void, Error> flushWithSilence(AVRational timeBase, const FrameHandler& take);

    std::string m_filters;
    std::string m_what;
    detail::FilterChain m_chain;
    detail::FramePtr m_out;
    detail::FramePtr m_last; // the format and end of the last frame sent, for the silence that flushes
};

} // namespace media::transcode
