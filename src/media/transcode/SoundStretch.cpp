#include "media/transcode/SoundStretch.h"

#include "media/detail/FilterLibrary.h"
#include "media/detail/SourceFile.h"
#include "media/transcode/AudioEncoder.h"
#include "media/transcode/OutputMovie.h"
#include "media/transcode/StreamDecoder.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>

namespace media::transcode {

using namespace media::detail;

namespace {

// What one atempo filter accepts.
constexpr double kSlowestTempo = 0.5;
constexpr double kFastestTempo = 100.0;

std::string decimal(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.9g", value);
    return text;
}

// The filter graph between the decoder and the encoder, made once the first
// frame tells the decoded format.
class TempoGraph final {
public:
    std::expected<void, Error> configure(const AVFrame& frame, AVRational timeBase,
                                         const std::string& filters) {
        char layout[128] = {};
        av_channel_layout_describe(&frame.ch_layout, layout, sizeof layout);
        FilterChainRequest request;
        request.sourceFilter = "abuffer";
        request.sourceArguments =
            "time_base=" + std::to_string(timeBase.num) + "/" + std::to_string(timeBase.den) +
            ":sample_rate=" + std::to_string(frame.sample_rate) +
            ":sample_fmt=" + av_get_sample_fmt_name(static_cast<AVSampleFormat>(frame.format)) +
            ":channel_layout=" + layout;
        request.sinkFilter = "abuffersink";
        request.chain = filters;
        auto chain = makeFilterChain(request, "cannot change the sound's tempo");
        if (!chain)
            return std::unexpected(chain.error());
        m_chain = std::move(*chain);
        return {};
    }

    bool isConfigured() const { return m_chain.graph != nullptr; }
    AVFilterContext* source() const { return m_chain.source; }
    AVFilterContext* sink() const { return m_chain.sink; }

private:
    FilterChain m_chain;
};

class Stretcher final {
public:
    Stretcher(const SoundStretch& stretch, SourceFile& source, AudioEncoder& encoder)
        : m_stretch(stretch), m_source(source), m_encoder(encoder),
          m_wanted(convertScale(stretch.duration, encoder.sampleRate()).value) {}

    std::expected<void, Error> run(StreamDecoder& decoder) {
        const auto take = [this](FramePtr frame) { return filter(frame.get()); };
        PacketPtr packet(av_packet_alloc());
        if (!packet)
            return std::unexpected(Error{ENOMEM, "out of memory"});
        AVFormatContext* format = m_source.format();
        while (m_written < m_wanted) {
            const int status = av_read_frame(format, packet.get());
            if (status == errorEndOfFile())
                break;
            if (status < 0)
                return std::unexpected(makeError(status, "\"" + m_stretch.file.string() + "\": cannot read"));
            std::expected<void, Error> decoded;
            if (packet->stream_index == m_stretch.stream)
                decoded = decoder.decode(packet.get(), take);
            av_packet_unref(packet.get());
            if (!decoded)
                return decoded;
        }
        if (auto flushed = decoder.decode(nullptr, take); !flushed)
            return flushed;
        if (auto drained = filter(nullptr); !drained)
            return drained;
        // atempo's output length is only close to the exact one.
        if (m_written < m_wanted)
            if (auto padded = m_encoder.appendSilence(m_wanted - m_written); !padded)
                return padded;
        return m_encoder.finish();
    }

private:
    std::string filters(AVRational timeBase) const {
        const AVRational scale{1,
                               m_stretch.sourceRange.start.scale > 0 ? m_stretch.sourceRange.start.scale : 1};
        const std::int64_t start = av_rescale_q(m_stretch.sourceRange.start.value, scale, timeBase);
        const AVRational lengthScale{
            1, m_stretch.sourceRange.duration.scale > 0 ? m_stretch.sourceRange.duration.scale : 1};
        const std::int64_t end =
            start + av_rescale_q(m_stretch.sourceRange.duration.value, lengthScale, timeBase);
        const double tempo = seconds(m_stretch.sourceRange.duration) / seconds(m_stretch.duration);
        char layout[128] = {};
        av_channel_layout_describe(&m_encoder.channelLayout(), layout, sizeof layout);
        return "atrim=start_pts=" + std::to_string(start) + ":end_pts=" + std::to_string(end) +
               ",asetpts=PTS-STARTPTS," + atempoChain(tempo) +
               ",aformat=sample_fmts=" + av_get_sample_fmt_name(m_encoder.sampleFormat()) +
               ":sample_rates=" + std::to_string(m_encoder.sampleRate()) + ":channel_layouts=" + layout;
    }

    // Sends a decoded frame (nullptr: the end) through the graph and encodes what comes out.
    std::expected<void, Error> filter(AVFrame* frame) {
        if (frame && !m_graph.isConfigured()) {
            const AVRational timeBase = m_source.format()->streams[m_stretch.stream]->time_base;
            if (auto configured = m_graph.configure(*frame, timeBase, filters(timeBase)); !configured)
                return configured;
        }
        if (!m_graph.isConfigured())
            return {};
        if (frame && frame->best_effort_timestamp != AV_NOPTS_VALUE)
            frame->pts = frame->best_effort_timestamp;
        if (const int status = (*filterLibrary())->av_buffersrc_add_frame_flags(m_graph.source(), frame, 0);
            status < 0)
            return std::unexpected(makeError(status, "cannot change the sound's tempo"));
        FramePtr out(av_frame_alloc());
        if (!out)
            return std::unexpected(Error{ENOMEM, "out of memory"});
        for (;;) {
            const int status = (*filterLibrary())->av_buffersink_get_frame(m_graph.sink(), out.get());
            if (status == kErrorAgain || status == errorEndOfFile())
                return {};
            if (status < 0)
                return std::unexpected(makeError(status, "cannot change the sound's tempo"));
            const std::int64_t count = std::min<std::int64_t>(out->nb_samples, m_wanted - m_written);
            if (count > 0) {
                if (auto appended = m_encoder.append(out->extended_data, static_cast<int>(count)); !appended)
                    return appended;
                m_written += count;
            }
            av_frame_unref(out.get());
            if (m_stretch.progress && m_wanted > 0 &&
                !m_stretch.progress(static_cast<double>(m_written) / static_cast<double>(m_wanted)))
                return std::unexpected(Error{ECANCELED, "Writing the movie was cancelled."});
        }
    }

    const SoundStretch& m_stretch;
    SourceFile& m_source;
    AudioEncoder& m_encoder;
    TempoGraph m_graph;
    std::int64_t m_wanted = 0;
    std::int64_t m_written = 0;
};

} // namespace

std::string atempoChain(double tempo) {
    std::string chain;
    const auto add = [&chain](double factor) {
        chain += (chain.empty() ? "atempo=" : ",atempo=") + decimal(factor);
    };
    if (!(tempo > 0) || !std::isfinite(tempo))
        tempo = 1;
    while (tempo < kSlowestTempo) {
        add(kSlowestTempo);
        tempo /= kSlowestTempo;
    }
    while (tempo > kFastestTempo) {
        add(kFastestTempo);
        tempo /= kFastestTempo;
    }
    add(tempo);
    return chain;
}

std::expected<void, Error> writeStretchedSound(const SoundStretch& stretch,
                                               const std::filesystem::path& output) {
    if (compareTimes(stretch.duration, zeroTime()) <= 0 ||
        compareTimes(stretch.sourceRange.duration, zeroTime()) <= 0)
        return std::unexpected(Error{EINVAL, "sound cannot be stretched to or from nothing"});
    auto source = SourceFile::open(stretch.file, SourceFile::Depth::StreamInfo);
    if (!source)
        return std::unexpected(source.error());
    AVFormatContext* format = (*source)->format();
    if (stretch.stream < 0 || static_cast<unsigned>(stretch.stream) >= format->nb_streams ||
        format->streams[stretch.stream]->codecpar->codec_type != AVMEDIA_TYPE_AUDIO)
        return std::unexpected(Error{EINVAL, "\"" + stretch.file.string() + "\": no such sound stream"});
    for (unsigned i = 0; i < format->nb_streams; ++i)
        format->streams[i]->discard =
            static_cast<int>(i) == stretch.stream ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    const AVStream* stream = format->streams[stretch.stream];
    auto decoder = StreamDecoder::open(stream, stretch.file);
    if (!decoder)
        return std::unexpected(decoder.error());

    auto movie = OutputMovie::create(output, "mov", output);
    if (!movie)
        return std::unexpected(movie.error());
    EncoderSettings settings;
    auto encoder = AudioEncoder::open(settings, stream->codecpar->sample_rate,
                                      std::max(stream->codecpar->ch_layout.nb_channels, 1), **movie);
    if (!encoder)
        return std::unexpected(encoder.error());
    if (auto added = (*encoder)->addStream(); !added)
        return added;
    if (auto begun = (*movie)->begin(); !begun)
        return begun;
    Stretcher stretcher(stretch, **source, **encoder);
    if (auto stretched = stretcher.run(*decoder); !stretched)
        return stretched;
    return (*movie)->finish();
}

} // namespace media::transcode
