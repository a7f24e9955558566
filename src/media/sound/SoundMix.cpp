#include "media/sound/SoundMix.h"

#include <algorithm>
#include <cmath>

namespace media::sound {

namespace {

struct TrackChoice final {
    int stream = -1;
    double start = 0;  // seconds
    double length = 0; // seconds
};

// The sound streams a player plays: the enabled ones, else the longest.
std::vector<TrackChoice> tracksToMix(const AVFormatContext& input) {
    std::vector<TrackChoice> enabled;
    TrackChoice longest;
    double longestLength = -1;
    for (unsigned i = 0; i < input.nb_streams; ++i) {
        const AVStream& stream = *input.streams[i];
        if (stream.codecpar->codec_type != AVMEDIA_TYPE_AUDIO)
            continue;
        TrackChoice choice{static_cast<int>(i), 0, 0};
        if (stream.start_time != AV_NOPTS_VALUE)
            choice.start = static_cast<double>(stream.start_time) * av_q2d(stream.time_base);
        if (stream.duration > 0)
            choice.length = static_cast<double>(stream.duration) * av_q2d(stream.time_base);
        if (stream.disposition & AV_DISPOSITION_DEFAULT)
            enabled.push_back(choice);
        if (choice.length > longestLength) {
            longestLength = choice.length;
            longest = choice;
        }
    }
    if (enabled.empty() && longest.stream >= 0)
        enabled.push_back(longest);
    return enabled;
}

std::int16_t toSixteenBits(float value) {
    return static_cast<std::int16_t>(std::clamp(std::lrintf(value * 32768.0f), -32768L, 32767L));
}

} // namespace

std::expected<SoundMix, Error> SoundMix::open(const std::filesystem::path& path) {
    auto input = detail::openInputFile(path);
    if (!input)
        return std::unexpected(input.error());
    const AVFormatContext* raw = input->get();
    const std::vector<TrackChoice> choices = tracksToMix(*raw);
    if (choices.empty())
        return std::unexpected(Error{AVERROR_STREAM_NOT_FOUND, "the movie has no sound"});

    // The mix's shape: the highest rate and the layout with the most channels.
    int sampleRate = 0;
    const AVChannelLayout* layout = nullptr;
    double earliest = choices.front().start;
    for (const TrackChoice& choice : choices) {
        const AVCodecParameters& parameters = *raw->streams[choice.stream]->codecpar;
        sampleRate = std::max(sampleRate, parameters.sample_rate);
        if (!layout || parameters.ch_layout.nb_channels > layout->nb_channels)
            layout = &parameters.ch_layout;
        earliest = std::min(earliest, choice.start);
    }
    auto mixLayout = layout->order == AV_CHANNEL_ORDER_UNSPEC
                         ? std::expected<detail::ChannelLayout, Error>(detail::ChannelLayout::withChannels(layout->nb_channels))
                         : detail::ChannelLayout::copyOf(*layout);
    if (!mixLayout)
        return std::unexpected(mixLayout.error());

    // A lone track is read as it is, converted straight to 16 bits; tracks
    // to mix are read as floats, summed, and converted once.
    SoundMix mix;
    for (const TrackChoice& choice : choices) {
        auto reader = choices.size() == 1
                          ? SoundReader::openStream(path, choice.stream, AV_SAMPLE_FMT_S16, 0, **mixLayout)
                          : SoundReader::openStream(path, choice.stream, AV_SAMPLE_FMT_FLT, sampleRate, **mixLayout);
        if (!reader)
            return std::unexpected(reader.error());
        const auto silence = static_cast<std::int64_t>(std::llround((choice.start - earliest) * reader->sampleRate()));
        if (reader->expectedFrames() >= 0)
            mix.m_expectedFrames = std::max(mix.m_expectedFrames, silence + reader->expectedFrames());
        mix.m_tracks.push_back({std::move(*reader), silence});
    }
    return mix;
}

std::expected<int, Error> SoundMix::readTrack(Track& track, float* data, int frames) {
    const int channels = track.reader.channels();
    const int quiet = static_cast<int>(std::min<std::int64_t>(track.silence, frames));
    std::fill(data, data + static_cast<std::ptrdiff_t>(quiet) * channels, 0.0f);
    track.silence -= quiet;
    if (quiet == frames)
        return frames;
    std::uint8_t* planes[1] = {reinterpret_cast<std::uint8_t*>(data + static_cast<std::ptrdiff_t>(quiet) * channels)};
    auto got = track.reader.read(planes, frames - quiet);
    if (!got)
        return got;
    return *got == 0 ? 0 : quiet + *got;
}

std::expected<int, Error> SoundMix::read(std::int16_t* data, int frames) {
    if (m_tracks.size() == 1 && m_tracks.front().silence == 0) {
        std::uint8_t* planes[1] = {reinterpret_cast<std::uint8_t*>(data)};
        return m_tracks.front().reader.read(planes, frames);
    }
    const auto samples = static_cast<std::size_t>(frames) * static_cast<std::size_t>(channels());
    m_sum.assign(samples, 0.0f);
    m_part.resize(samples);
    int longest = 0;
    for (Track& track : m_tracks) {
        auto got = readTrack(track, m_part.data(), frames);
        if (!got)
            return got;
        const auto count = static_cast<std::size_t>(*got) * static_cast<std::size_t>(channels());
        for (std::size_t i = 0; i < count; ++i)
            m_sum[i] += m_part[i];
        longest = std::max(longest, *got);
    }
    const auto count = static_cast<std::size_t>(longest) * static_cast<std::size_t>(channels());
    for (std::size_t i = 0; i < count; ++i)
        data[i] = toSixteenBits(m_sum[i]);
    return longest;
}

} // namespace media::sound
