#include "media/transcode/SoundTempo.h"

#include <cerrno>
#include <cmath>
#include <cstdio>

namespace media::transcode {

using namespace media::detail;

namespace {

struct TempoFilter final {
    const char* prefix; // the filter and its options, up to the tempo's value
    double slowest, fastest;
};

// Its short window keeps onsets closest to their place: slowing down to 0.8
// moves them 6 ms early against 11 ms with the standard window, to 0.5 moves
// them 17 ms against 35 ms.
constexpr TempoFilter kRubberBand{"rubberband=pitch=1:window=short:tempo=", 0.01, 100.0};
constexpr TempoFilter kAtempo{"atempo=", 0.5, 100.0};

std::string decimal(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.9g", value);
    return text;
}

} // namespace

std::string tempoChain(double tempo) {
    const auto library = filterLibrary();
    const bool hasRubberBand = library && (*library)->avfilter_get_by_name("rubberband") != nullptr;
    const TempoFilter& filter = hasRubberBand ? kRubberBand : kAtempo;
    std::string chain;
    const auto add = [&chain, &filter](double factor) {
        chain += (chain.empty() ? "" : ",") + std::string(filter.prefix) + decimal(factor);
    };
    if (!(tempo > 0) || !std::isfinite(tempo))
        tempo = 1;
    while (tempo < filter.slowest) {
        add(filter.slowest);
        tempo /= filter.slowest;
    }
    while (tempo > filter.fastest) {
        add(filter.fastest);
        tempo /= filter.fastest;
    }
    add(tempo);
    return chain;
}

SoundTempo::SoundTempo(std::string filters, std::string what)
    : m_filters(std::move(filters)), m_what(std::move(what)) {}

std::expected<void, Error> SoundTempo::configure(const AVFrame& frame, AVRational timeBase) {
    // Files that do not name their channels get the usual layout for their count.
    auto named = frame.ch_layout.order == AV_CHANNEL_ORDER_UNSPEC
                     ? ChannelLayout::withChannels(frame.ch_layout.nb_channels)
                     : ChannelLayout::copyOf(frame.ch_layout);
    if (!named)
        return std::unexpected(named.error());
    char layout[128] = {};
    av_channel_layout_describe(&**named, layout, sizeof layout);
    FilterChainRequest request;
    request.sourceFilter = "abuffer";
    request.sourceArguments =
        "time_base=" + std::to_string(timeBase.num) + "/" + std::to_string(timeBase.den) +
        ":sample_rate=" + std::to_string(frame.sample_rate) +
        ":sample_fmt=" + av_get_sample_fmt_name(static_cast<AVSampleFormat>(frame.format)) +
        ":channel_layout=" + layout;
    request.sinkFilter = "abuffersink";
    request.chain = m_filters;
    auto chain = makeFilterChain(request, m_what + ": cannot change the sound's tempo");
    if (!chain)
        return std::unexpected(chain.error());
    m_chain = std::move(*chain);
    m_out.reset(av_frame_alloc());
    if (!m_out)
        return std::unexpected(Error{ENOMEM, "out of memory"});
    return {};
}

std::expected<void, Error> SoundTempo::push(AVFrame* frame, AVRational timeBase, const FrameHandler& take) {
    if (frame && !m_chain.graph)
        if (auto configured = configure(*frame, timeBase); !configured)
            return configured;
    if (!m_chain.graph)
        return {}; // the end of a stream that had no sound
    if (!frame) {
        if (auto flushed = flushWithSilence(timeBase, take); !flushed)
            return flushed;
        return send(nullptr, take);
    }
    if (frame->best_effort_timestamp != AV_NOPTS_VALUE)
        frame->pts = frame->best_effort_timestamp;
    if (!m_last)
        m_last.reset(av_frame_alloc());
    if (!m_last)
        return std::unexpected(Error{ENOMEM, "out of memory"});
    av_frame_unref(m_last.get());
    if (const int status = av_frame_copy_props(m_last.get(), frame); status < 0)
        return std::unexpected(makeError(status, m_what + ": cannot change the sound's tempo"));
    m_last->format = frame->format;
    m_last->sample_rate = frame->sample_rate;
    m_last->nb_samples = frame->nb_samples;
    if (const int status = av_channel_layout_copy(&m_last->ch_layout, &frame->ch_layout); status < 0)
        return std::unexpected(makeError(status, m_what + ": cannot change the sound's tempo"));
    return send(frame, take);
}

// A stretcher holds back a window of sound (Rubber Band more than 40 ms)
// that only more input pushes out; half a second of silence does.
std::expected<void, Error> SoundTempo::flushWithSilence(AVRational timeBase, const FrameHandler& take) {
    if (!m_last || m_last->sample_rate <= 0)
        return {};
    FramePtr silence(av_frame_alloc());
    if (!silence)
        return std::unexpected(Error{ENOMEM, "out of memory"});
    silence->format = m_last->format;
    silence->sample_rate = m_last->sample_rate;
    silence->nb_samples = m_last->sample_rate / 2;
    if (const int status = av_channel_layout_copy(&silence->ch_layout, &m_last->ch_layout); status < 0)
        return std::unexpected(makeError(status, m_what + ": cannot change the sound's tempo"));
    if (const int status = av_frame_get_buffer(silence.get(), 0); status < 0)
        return std::unexpected(makeError(status, m_what + ": cannot change the sound's tempo"));
    av_samples_set_silence(silence->extended_data, 0, silence->nb_samples, silence->ch_layout.nb_channels,
                           static_cast<AVSampleFormat>(silence->format));
    if (m_last->pts != AV_NOPTS_VALUE)
        silence->pts =
            m_last->pts + av_rescale_q(m_last->nb_samples, AVRational{1, m_last->sample_rate}, timeBase);
    return send(silence.get(), take);
}

std::expected<void, Error> SoundTempo::send(AVFrame* frame, const FrameHandler& take) {
    const FilterLibrary& filters = **filterLibrary();
    if (const int status = filters.av_buffersrc_add_frame_flags(m_chain.source, frame, 0); status < 0)
        return std::unexpected(makeError(status, m_what + ": cannot change the sound's tempo"));
    for (;;) {
        const int status = filters.av_buffersink_get_frame(m_chain.sink, m_out.get());
        if (status == kErrorAgain || status == errorEndOfFile())
            return {};
        if (status < 0)
            return std::unexpected(makeError(status, m_what + ": cannot change the sound's tempo"));
        auto taken = take(*m_out);
        av_frame_unref(m_out.get());
        if (!taken)
            return taken;
    }
}

} // namespace media::transcode
