#include "media/transcode/AudioConformer.h"

#include "media/transcode/AudioEncoder.h"

#include <algorithm>
#include <cerrno>

namespace media::transcode {

using namespace media::detail;

AudioConformer::AudioConformer(AudioEncoder& encoder, std::int64_t segmentSamples, std::filesystem::path file)
    : m_encoder(encoder), m_segmentSamples(segmentSamples), m_file(std::move(file)) {}

AudioConformer::~AudioConformer() = default;

Error AudioConformer::error(int code, const std::string& what) const {
    return makeError(code, "\"" + m_file.string() + "\": " + what);
}

std::expected<void, Error> AudioConformer::configure(const AVFrame& frame) {
    // Files that do not name their channels get the usual layout for their count.
    auto layout = frame.ch_layout.order == AV_CHANNEL_ORDER_UNSPEC
                      ? ChannelLayout::withChannels(frame.ch_layout.nb_channels)
                      : ChannelLayout::copyOf(frame.ch_layout);
    if (!layout)
        return std::unexpected(error(layout.error().code, "cannot read the sound's channels"));
    const auto format = static_cast<AVSampleFormat>(frame.format);
    if (m_resampler && frame.sample_rate == m_inputRate && format == m_inputFormat &&
        av_channel_layout_compare(&**layout, &*m_inputLayout) == 0)
        return {};
    // The sound changed its form midway: what the old resampler holds comes first.
    if (m_resampler)
        if (auto drained = drainResampler(); !drained)
            return drained;
    m_inputLayout = std::move(*layout);
    m_inputRate = frame.sample_rate;
    m_inputFormat = format;

    auto outputLayout = ChannelLayout::copyOf(m_encoder.channelLayout());
    if (!outputLayout)
        return std::unexpected(outputLayout.error());
    SwrContext* resampler = nullptr;
    int status =
        swr_alloc_set_opts2(&resampler, outputLayout->get(), m_encoder.sampleFormat(), m_encoder.sampleRate(),
                            m_inputLayout.get(), m_inputFormat, m_inputRate, 0, nullptr);
    m_resampler.reset(resampler);
    if (status >= 0)
        status = swr_init(resampler);
    if (status < 0)
        return std::unexpected(error(status, "cannot resample the sound"));
    return {};
}

std::expected<void, Error> AudioConformer::take(const AVFrame& frame, std::int64_t offset) {
    if (isComplete() || frame.nb_samples <= 0)
        return {};
    if (frame.sample_rate <= 0 || frame.ch_layout.nb_channels <= 0)
        return std::unexpected(
            Error{EINVAL, "\"" + m_file.string() + "\": the sound has no sample rate or channels"});
    if (auto configured = configure(frame); !configured)
        return configured;
    if (!m_placed) {
        m_placed = true;
        if (offset > 0) {
            if (auto silent = silenceUntil(offset); !silent)
                return silent;
        } else {
            m_toDrop = -offset;
        }
    }
    if (auto made = convert(const_cast<const std::uint8_t**>(frame.extended_data), frame.nb_samples); !made)
        return std::unexpected(made.error());
    return {};
}

std::expected<void, Error> AudioConformer::silenceUntil(std::int64_t offset) {
    const std::int64_t count = std::min(offset, m_segmentSamples) - m_written;
    if (count <= 0)
        return {};
    if (auto appended = m_encoder.appendSilence(count); !appended)
        return appended;
    m_written += count;
    return {};
}

std::expected<int, Error> AudioConformer::convert(const std::uint8_t** input, int count) {
    const int room = swr_get_out_samples(m_resampler.get(), count);
    if (room < 0)
        return std::unexpected(error(room, "cannot resample the sound"));
    if (!m_converted || m_converted->nb_samples < room) {
        m_converted.reset(av_frame_alloc());
        if (!m_converted)
            return std::unexpected(Error{ENOMEM, "out of memory"});
        m_converted->nb_samples = std::max(room, 4096);
        m_converted->format = m_encoder.sampleFormat();
        av_channel_layout_copy(&m_converted->ch_layout, &m_encoder.channelLayout());
        if (const int status = av_frame_get_buffer(m_converted.get(), 0); status < 0)
            return std::unexpected(error(status, "cannot resample the sound"));
    }
    const int made =
        swr_convert(m_resampler.get(), m_converted->extended_data, m_converted->nb_samples, input, count);
    if (made < 0)
        return std::unexpected(error(made, "cannot resample the sound"));
    if (auto delivered = deliver(made); !delivered)
        return std::unexpected(delivered.error());
    return made;
}

std::expected<void, Error> AudioConformer::drainResampler() {
    for (;;) {
        auto made = convert(nullptr, 0);
        if (!made)
            return std::unexpected(made.error());
        if (*made == 0 || isComplete())
            return {};
    }
}

// Hands `count` converted samples to the encoder, less those before the
// segment's start and those after its end.
std::expected<void, Error> AudioConformer::deliver(int count) {
    const int dropped = static_cast<int>(std::min<std::int64_t>(count, m_toDrop));
    m_toDrop -= dropped;
    const int wanted =
        static_cast<int>(std::min<std::int64_t>(count - dropped, m_segmentSamples - m_written));
    if (wanted <= 0)
        return {};
    const AVSampleFormat format = m_encoder.sampleFormat();
    const int channels = m_encoder.channelLayout().nb_channels;
    const bool planar = av_sample_fmt_is_planar(format) != 0;
    const std::size_t skip = static_cast<std::size_t>(dropped) *
                             static_cast<std::size_t>(av_get_bytes_per_sample(format)) *
                             static_cast<std::size_t>(planar ? 1 : channels);
    m_planes.resize(planar ? static_cast<std::size_t>(channels) : 1);
    for (std::size_t i = 0; i < m_planes.size(); ++i)
        m_planes[i] = m_converted->extended_data[i] + skip;
    if (auto appended = m_encoder.append(m_planes.data(), wanted); !appended)
        return appended;
    m_written += wanted;
    return {};
}

std::expected<void, Error> AudioConformer::drain() {
    if (!m_resampler || isComplete())
        return {};
    auto drained = drainResampler();
    m_resampler.reset();
    return drained;
}

std::expected<void, Error> AudioConformer::finish() {
    if (auto drained = drain(); !drained)
        return drained;
    return silenceUntil(m_segmentSamples);
}

} // namespace media::transcode
