#pragma once

// Private to src/media: sound played faster or slower with its pitch kept,
// through libavfilter (loaded when first needed), for segments
// whose duration was scaled.

#include "media/detail/FFmpeg.h"
#include "media/detail/FilterLibrary.h"

#include <expected>
#include <functional>
#include <string>
#include <vector>

namespace media::transcode {

// The filters that together change the tempo by `tempo` (2 plays twice as
// fast) with the pitch kept, each within the range one filter accepts:
// Rubber Band, which keeps every onset where the new tempo places it, when
// libavfilter has it; else atempo, whose onsets land up to 27 ms early.
std::string tempoChain(double tempo);

// Seconds by which sound at `sampleRate` comes out of tempoChain(tempo) later
// than the tempo places it (negative: earlier), measured by sending the onset
// of a tone out of silence through it: Rubber Band puts onsets up to 15 ms
// early or late, depending on the tempo.
[[nodiscard]] std::expected<double, Error> tempoDelay(double tempo, int sampleRate);

class SoundTempo final {
public:
    using FrameHandler = std::function<std::expected<void, Error>(AVFrame& frame)>;

    // `filters`: the chain the decoded sound goes through, in FFmpeg's graph
    // syntax (tempoChain, with whatever else is wanted around it). The graph
    // is made when the first frame tells the sound's format; `what` names the
    // file in errors. `tempo`, the tempo the chain plays at, tells how far the
    // stretcher delays the sound: that much is cut from the start of what comes
    // out (or silence put before it), so every onset lands where the tempo puts it.
    SoundTempo(std::string filters, std::string what, double tempo);

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
    // Cuts the first frames out by m_delay, or holds them to put a lead before them.
    [[nodiscard]] std::expected<void, Error> takeOnTime(AVFrame& frame, const FrameHandler& take);
    [[nodiscard]] std::expected<void, Error> releaseHeld(const FrameHandler& take);

    std::string m_filters;
    std::string m_what;
    double m_tempo = 1;
    double m_delay = 0;                   // seconds the stretcher's output lags its exact place
    std::int64_t m_toCut = -1;            // output samples still to cut; -1 until the first frame out
    std::int64_t m_toLead = 0;            // output samples to put before the first frame out
    std::vector<detail::FramePtr> m_held; // the first frames out, until the lead is made
    std::int64_t m_heldSamples = 0;
    detail::FilterChain m_chain;
    detail::FramePtr m_out;
    detail::FramePtr m_last; // the format and end of the last frame sent, for the silence that flushes
};

} // namespace media::transcode
