#include "media/quicktime/RetimedIndex.h"

#include "media/detail/Int128.h"

#include <algorithm>
#include <cerrno>
#include <limits>

namespace media::quicktime {

namespace {

using media::detail::Int128;

// Below this many units a scaled frame would lose too much of its timing.
constexpr std::int64_t kFinestFrameUnits = 4;

Error overflow() {
    return Error{EOVERFLOW, "The movie's times do not fit its sample tables once scaled."};
}

// value * numerator / denominator, rounded to the nearest unit (half away from zero).
class Scaler final {
public:
    Scaler(Int128 numerator, Int128 denominator) : m_numerator(numerator), m_denominator(denominator) {}

    std::expected<std::int64_t, Error> operator()(std::int64_t value) const {
        const Int128 product = static_cast<Int128>(value) * m_numerator;
        const Int128 half = m_denominator / 2;
        const Int128 rounded =
            product >= 0 ? (product + half) / m_denominator : -((-product + half) / m_denominator);
        if (rounded > std::numeric_limits<std::int64_t>::max() ||
            rounded < std::numeric_limits<std::int64_t>::min())
            return std::unexpected(overflow());
        return static_cast<std::int64_t>(rounded);
    }

private:
    Int128 m_numerator;
    Int128 m_denominator;
};

// How many times finer the media time scale must become for the shortest
// sample to keep kFinestFrameUnits once scaled.
std::int64_t scaleMultiplier(const TrackIndex& track, std::int64_t numerator, std::int64_t denominator) {
    std::uint32_t shortest = std::numeric_limits<std::uint32_t>::max();
    for (std::size_t i = 0; i < track.samples.count(); ++i)
        if (track.samples.duration(i) > 0)
            shortest = std::min(shortest, track.samples.duration(i));
    if (shortest == std::numeric_limits<std::uint32_t>::max())
        return 1;
    const Int128 scaled = static_cast<Int128>(shortest) * numerator; // over `denominator`
    const Int128 wanted = static_cast<Int128>(kFinestFrameUnits) * denominator;
    if (scaled >= wanted)
        return 1;
    const Int128 multiplier = (wanted + scaled - 1) / std::max<Int128>(scaled, 1);
    const Int128 largest = std::numeric_limits<std::int32_t>::max() / std::max(track.mediaTimeScale, 1);
    return static_cast<std::int64_t>(std::clamp<Int128>(multiplier, 1, std::max<Int128>(largest, 1)));
}

std::expected<SampleList, Error> retimedSamples(const SampleList& samples, const Scaler& scale) {
    SampleList::Columns columns;
    const std::size_t count = samples.count();
    columns.offsets.reserve(count);
    columns.sizes.reserve(count);
    columns.durations.reserve(count);
    columns.flags.reserve(count);
    std::int64_t decodeTime = 0;
    std::int64_t scaledStart = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const auto scaledEnd = scale(decodeTime + samples.duration(i));
        const auto scaledShown = scale(decodeTime + samples.compositionOffset(i));
        if (!scaledEnd || !scaledShown)
            return std::unexpected(overflow());
        const std::int64_t duration = *scaledEnd - scaledStart;
        const std::int64_t compositionOffset = *scaledShown - scaledStart;
        if (duration < 0 || duration > std::numeric_limits<std::uint32_t>::max() ||
            compositionOffset > std::numeric_limits<std::int32_t>::max() ||
            compositionOffset < std::numeric_limits<std::int32_t>::min())
            return std::unexpected(overflow());
        columns.offsets.push_back(samples.offset(i));
        columns.sizes.push_back(samples.byteSize(i));
        columns.durations.push_back(static_cast<std::uint32_t>(duration));
        if (samples.hasCompositionOffsets()) {
            columns.compositionOffsets.resize(count);
            columns.compositionOffsets[i] = static_cast<std::int32_t>(compositionOffset);
        }
        if (samples.descriptionIndex(i) != 0) {
            columns.descriptionIndexes.resize(count);
            columns.descriptionIndexes[i] = samples.descriptionIndex(i);
        }
        columns.flags.push_back(
            static_cast<std::uint8_t>((samples.isSync(i) ? SampleList::kSync : 0) |
                                      (samples.startsChunk(i) ? SampleList::kChunkStart : 0)));
        decodeTime += samples.duration(i);
        scaledStart = *scaledEnd;
    }
    return SampleList(std::move(columns));
}

// Edit durations are movie units, scaled by the factor; media times are
// media units, scaled by the factor and the track's scale multiplier.
std::expected<void, Error> retimeEditList(std::vector<EditListEntry>& editList, const Scaler& movieUnits,
                                          const Scaler& mediaUnits) {
    std::int64_t elapsed = 0;
    std::int64_t placed = 0;
    for (EditListEntry& edit : editList) {
        elapsed += edit.duration;
        const auto end = movieUnits(elapsed);
        if (!end)
            return std::unexpected(end.error());
        edit.duration = *end - placed;
        placed = *end;
        if (!edit.isEmpty()) {
            const auto mediaTime = mediaUnits(edit.mediaTime);
            if (!mediaTime)
                return std::unexpected(mediaTime.error());
            edit.mediaTime = *mediaTime;
        }
    }
    return {};
}

std::expected<void, Error> retimeTrack(TrackIndex& track, std::int64_t numerator, std::int64_t denominator) {
    const std::int64_t multiplier = scaleMultiplier(track, numerator, denominator);
    const Scaler movieUnits(numerator, denominator);
    const Scaler mediaUnits(static_cast<Int128>(numerator) * multiplier, denominator);
    auto samples = retimedSamples(track.samples, mediaUnits);
    if (!samples)
        return std::unexpected(samples.error());
    track.samples = std::move(*samples);
    track.mediaTimeScale = static_cast<std::int32_t>(track.mediaTimeScale * multiplier);
    track.mediaDuration = static_cast<std::uint64_t>(track.samples.totalDuration());
    const auto duration = movieUnits(static_cast<std::int64_t>(track.duration));
    if (!duration)
        return std::unexpected(duration.error());
    track.duration = static_cast<std::uint64_t>(*duration);
    return retimeEditList(track.editList, movieUnits, mediaUnits);
}

} // namespace

std::expected<SourceIndex, Error> retimedIndex(const SourceIndex& index, std::int64_t numerator,
                                               std::int64_t denominator) {
    if (numerator <= 0 || denominator <= 0)
        return std::unexpected(Error{EINVAL, "A movie can only be scaled by a positive factor."});
    SourceIndex retimed = index;
    const auto movieDuration = Scaler(numerator, denominator)(static_cast<std::int64_t>(index.movieDuration));
    if (!movieDuration)
        return std::unexpected(movieDuration.error());
    retimed.movieDuration = static_cast<std::uint64_t>(*movieDuration);
    for (TrackIndex& track : retimed.tracks)
        if (track.handler == Handler::Video && !track.packed)
            if (auto done = retimeTrack(track, numerator, denominator); !done)
                return std::unexpected(done.error());
    return retimed;
}

} // namespace media::quicktime
