#include "media/transcode/SoundTempo.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <map>
#include <mutex>
#include <numbers>

namespace media::transcode {

using namespace media::detail;

namespace {

struct TempoFilter final {
    const char* prefix; // the filter and its options, up to the tempo's value
    double slowest, fastest;
};

// Its short window keeps onsets closest to their place: slowing down to 0.8
// moves them 6 ms early against 11 ms with the standard window, to 0.5 moves
// them 17 ms against 35 ms. That time is measured and removed (tempoDelay).
// Smooth transients would move onsets more evenly (within 3 ms whatever is
// before them, against 12 ms out of digital silence and 2 ms out of a quiet
// background at 0.5) but dip long tones where they end.
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

namespace {

std::expected<double, Error> measureTempoDelay(double tempo, int sampleRate) {
    const auto library = filterLibrary();
    if (!library)
        return std::unexpected(library.error());
    const FilterLibrary& filters = **library;
    const std::string what = "cannot measure the delay of the sound's tempo change";
    FilterChainRequest request;
    request.sourceFilter = "abuffer";
    request.sourceArguments = "time_base=1/" + std::to_string(sampleRate) +
                              ":sample_rate=" + std::to_string(sampleRate) +
                              ":sample_fmt=flt:channel_layout=mono";
    request.sinkFilter = "abuffersink";
    request.chain = tempoChain(tempo) + ",aformat=sample_fmts=flt";
    auto chain = makeFilterChain(request, what);
    if (!chain)
        return std::unexpected(chain.error());

    // Half a second of silence, a 1 kHz tone for half a second, and silence
    // that pushes everything out; the onset is where the tone first passes
    // 40% of its height, as one finds a beep.
    constexpr float kHeight = 0.5f;
    const std::int64_t onset = sampleRate / 2;
    const std::int64_t toneEnd = onset + sampleRate / 2;
    const std::int64_t total = toneEnd + sampleRate;
    constexpr int kFrameSize = 1024;
    const std::int64_t wanted = std::llround(static_cast<double>(onset) / tempo);
    std::int64_t out = 0;
    std::int64_t found = -1;
    FramePtr frame(av_frame_alloc());
    FramePtr got(av_frame_alloc());
    if (!frame || !got)
        return std::unexpected(Error{ENOMEM, "out of memory"});
    const auto collect = [&]() -> std::expected<void, Error> {
        for (;;) {
            const int status = filters.av_buffersink_get_frame(chain->sink, got.get());
            if (status == kErrorAgain || status == errorEndOfFile())
                return {};
            if (status < 0)
                return std::unexpected(makeError(status, what));
            const auto* samples = reinterpret_cast<const float*>(got->extended_data[0]);
            for (int i = 0; i < got->nb_samples && found < 0; ++i)
                if (std::fabs(samples[i]) > 0.4f * kHeight)
                    found = out + i;
            out += got->nb_samples;
            av_frame_unref(got.get());
        }
    };
    for (std::int64_t at = 0; at < total && found < 0; at += kFrameSize) {
        av_frame_unref(frame.get());
        frame->format = AV_SAMPLE_FMT_FLT;
        frame->sample_rate = sampleRate;
        frame->nb_samples = static_cast<int>(std::min<std::int64_t>(kFrameSize, total - at));
        frame->pts = at;
        av_channel_layout_default(&frame->ch_layout, 1);
        if (const int status = av_frame_get_buffer(frame.get(), 0); status < 0)
            return std::unexpected(makeError(status, what));
        auto* samples = reinterpret_cast<float*>(frame->extended_data[0]);
        for (int i = 0; i < frame->nb_samples; ++i) {
            const std::int64_t n = at + i;
            const float height = n >= onset && n < toneEnd ? kHeight : 0.0f;
            samples[i] = height * static_cast<float>(std::sin(2 * std::numbers::pi * 1000.0 *
                                                              static_cast<double>(n) / sampleRate));
        }
        if (const int status = filters.av_buffersrc_add_frame_flags(chain->source, frame.get(), 0);
            status < 0)
            return std::unexpected(makeError(status, what));
        if (auto collected = collect(); !collected)
            return std::unexpected(collected.error());
    }
    if (found < 0) {
        if (const int status = filters.av_buffersrc_add_frame_flags(chain->source, nullptr, 0); status < 0)
            return std::unexpected(makeError(status, what));
        if (auto collected = collect(); !collected)
            return std::unexpected(collected.error());
    }
    if (found < 0)
        return 0.0; // the tone never came out loud enough to time: leave the sound as it is
    return static_cast<double>(found - wanted) / sampleRate;
}

} // namespace

// The delay depends on the tempo and the sample rate alone, and a list scaled
// to a wanted duration stretches every segment by nearly the same tempo (each
// segment's length is rounded to the movie's time scale). A measurement passes
// 1.5 s of sound through the filter, so each tempo, to four significant digits,
// is measured once per run at each rate: the delay changes by far less than a
// sample between tempos that close.
std::expected<double, Error> tempoDelay(double tempo, int sampleRate) {
    static std::mutex mutex;
    static std::map<std::pair<double, int>, double> measured;
    if (!(tempo > 0) || !std::isfinite(tempo))
        return measureTempoDelay(tempo, sampleRate);
    const double place = std::pow(10.0, 3 - std::floor(std::log10(tempo)));
    const std::pair key(std::round(tempo * place) / place, sampleRate);
    {
        const std::lock_guard lock(mutex);
        if (const auto found = measured.find(key); found != measured.end())
            return found->second;
    }
    const auto delay = measureTempoDelay(key.first, sampleRate);
    if (delay) {
        const std::lock_guard lock(mutex);
        measured.emplace(key, *delay);
    }
    return delay;
}

SoundTempo::SoundTempo(std::string filters, std::string what, double tempo)
    : m_filters(std::move(filters)), m_what(std::move(what)), m_tempo(tempo) {}

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
    if (m_tempo != 1) {
        auto delay = tempoDelay(m_tempo, frame.sample_rate);
        if (!delay)
            return std::unexpected(Error{delay.error().code, m_what + ": " + delay.error().message});
        m_delay = *delay;
    }
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
        if (auto sent = send(nullptr, take); !sent)
            return sent;
        return releaseHeld(take); // a sound shorter than its lead
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
        auto taken = takeOnTime(*m_out, take);
        av_frame_unref(m_out.get());
        if (!taken)
            return taken;
    }
}

std::expected<void, Error> SoundTempo::takeOnTime(AVFrame& frame, const FrameHandler& take) {
    if (m_toCut < 0) {
        const std::int64_t delay = std::llround(m_delay * frame.sample_rate);
        m_toCut = std::max<std::int64_t>(delay, 0);
        m_toLead = std::max<std::int64_t>(-delay, 0);
    }
    if (m_toLead > 0) { // early: held until the lead can be made from it
        FramePtr held(av_frame_clone(&frame));
        if (!held)
            return std::unexpected(Error{ENOMEM, "out of memory"});
        m_heldSamples += held->nb_samples;
        m_held.push_back(std::move(held));
        return m_heldSamples >= m_toLead ? releaseHeld(take) : std::expected<void, Error>{};
    }
    if (m_toCut > 0) {
        // The frame's buffers stay referenced as they are; only its view moves on.
        const int cut = static_cast<int>(std::min<std::int64_t>(m_toCut, frame.nb_samples));
        const auto format = static_cast<AVSampleFormat>(frame.format);
        const bool planar = av_sample_fmt_is_planar(format);
        const int step = av_get_bytes_per_sample(format) * (planar ? 1 : frame.ch_layout.nb_channels);
        const int planes = planar ? frame.ch_layout.nb_channels : 1;
        for (int p = 0; p < planes; ++p) {
            frame.extended_data[p] += static_cast<std::ptrdiff_t>(cut) * step;
            if (p < AV_NUM_DATA_POINTERS)
                frame.data[p] = frame.extended_data[p];
        }
        frame.nb_samples -= cut;
        m_toCut -= cut;
        if (frame.nb_samples == 0)
            return {};
    }
    return take(frame);
}

// The sound is put later by what comes first played backwards, so that a
// segment's sound starts with no gap (and no click) at its join point; then
// the frames held for it.
std::expected<void, Error> SoundTempo::releaseHeld(const FrameHandler& take) {
    if (m_held.empty())
        return {};
    const AVFrame& first = *m_held.front();
    const auto format = static_cast<AVSampleFormat>(first.format);
    FramePtr lead(av_frame_alloc());
    if (!lead)
        return std::unexpected(Error{ENOMEM, "out of memory"});
    lead->format = first.format;
    lead->sample_rate = first.sample_rate;
    lead->nb_samples = static_cast<int>(m_toLead);
    if (const int status = av_channel_layout_copy(&lead->ch_layout, &first.ch_layout); status < 0)
        return std::unexpected(makeError(status, m_what + ": cannot change the sound's tempo"));
    if (const int status = av_frame_get_buffer(lead.get(), 0); status < 0)
        return std::unexpected(makeError(status, m_what + ": cannot change the sound's tempo"));
    const int channels = lead->ch_layout.nb_channels;
    av_samples_set_silence(lead->extended_data, 0, lead->nb_samples, channels, format);
    int at = 0; // the lead's sample k is held sample lead->nb_samples - 1 - k
    for (const FramePtr& held : m_held) {
        for (int i = 0; i < held->nb_samples && at + i < lead->nb_samples; ++i)
            av_samples_copy(lead->extended_data, held->extended_data, lead->nb_samples - 1 - (at + i), i, 1,
                            channels, format);
        at += held->nb_samples;
    }
    m_toLead = 0;
    if (auto taken = take(*lead); !taken)
        return taken;
    for (FramePtr& held : m_held)
        if (auto taken = take(*held); !taken)
            return taken;
    m_held.clear();
    return {};
}

} // namespace media::transcode
