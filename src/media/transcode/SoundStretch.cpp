#include "media/transcode/SoundStretch.h"

#include "media/detail/SourceFile.h"
#include "media/transcode/AudioEncoder.h"
#include "media/transcode/OutputMovie.h"
#include "media/transcode/SoundTempo.h"
#include "media/transcode/StreamDecoder.h"

#include <algorithm>
#include <cerrno>

namespace media::transcode {

using namespace media::detail;

namespace {

class Stretcher final {
public:
    Stretcher(const SoundStretch& stretch, SourceFile& source, AudioEncoder& encoder)
        : m_stretch(stretch), m_source(source), m_encoder(encoder),
          m_tempo(filters(source.format()->streams[stretch.stream]->time_base),
                  "\"" + stretch.file.string() + "\"", tempo()),
          m_wanted(convertScale(stretch.duration, encoder.sampleRate()).value) {}

    std::expected<void, Error> run(StreamDecoder& decoder) {
        const AVRational timeBase = m_source.format()->streams[m_stretch.stream]->time_base;
        const auto wanted = [this] { return m_written < m_wanted; };
        DecodedStream sound{
            m_stretch.stream, &decoder,
            [this, timeBase](FramePtr frame) { return m_tempo.push(frame.get(), timeBase, take()); }, wanted};
        if (auto decoded =
                decodeStreams(*m_source.format(), m_stretch.file, {sound}, [&] { return !wanted(); });
            !decoded)
            return decoded;
        if (auto drained = m_tempo.push(nullptr, timeBase, take()); !drained)
            return drained;
        // The stretched length is only close to the exact one.
        if (m_written < m_wanted)
            if (auto padded = m_encoder.appendSilence(m_wanted - m_written); !padded)
                return padded;
        return m_encoder.finish();
    }

private:
    // The range cut from the stream, its tempo changed, in the encoder's format.
    std::string filters(AVRational timeBase) const {
        const AVRational scale{1,
                               m_stretch.sourceRange.start.scale > 0 ? m_stretch.sourceRange.start.scale : 1};
        const std::int64_t start = av_rescale_q(m_stretch.sourceRange.start.value, scale, timeBase);
        const AVRational lengthScale{
            1, m_stretch.sourceRange.duration.scale > 0 ? m_stretch.sourceRange.duration.scale : 1};
        const std::int64_t end =
            start + av_rescale_q(m_stretch.sourceRange.duration.value, lengthScale, timeBase);
        char layout[128] = {};
        av_channel_layout_describe(&m_encoder.channelLayout(), layout, sizeof layout);
        return "atrim=start_pts=" + std::to_string(start) + ":end_pts=" + std::to_string(end) +
               ",asetpts=PTS-STARTPTS," + tempoChain(tempo()) +
               ",aformat=sample_fmts=" + av_get_sample_fmt_name(m_encoder.sampleFormat()) +
               ":sample_rates=" + std::to_string(m_encoder.sampleRate()) + ":channel_layouts=" + layout;
    }

    double tempo() const { return seconds(m_stretch.sourceRange.duration) / seconds(m_stretch.duration); }

    // Encodes what comes out of the tempo filter, up to the wanted length.
    SoundTempo::FrameHandler take() {
        return [this](AVFrame& out) -> std::expected<void, Error> {
            const std::int64_t count = std::min<std::int64_t>(out.nb_samples, m_wanted - m_written);
            if (count > 0) {
                if (auto appended = m_encoder.append(out.extended_data, static_cast<int>(count)); !appended)
                    return appended;
                m_written += count;
            }
            if (m_stretch.progress && m_wanted > 0 &&
                !m_stretch.progress(static_cast<double>(m_written) / static_cast<double>(m_wanted)))
                return std::unexpected(Error{ECANCELED, "Writing the movie was cancelled."});
            return {};
        };
    }

    const SoundStretch& m_stretch;
    SourceFile& m_source;
    AudioEncoder& m_encoder;
    SoundTempo m_tempo;
    std::int64_t m_wanted = 0;
    std::int64_t m_written = 0;
};

} // namespace

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
