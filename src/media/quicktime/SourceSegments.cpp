#include "media/quicktime/SourceSegments.h"

#include "media/detail/Int128.h"
#include "media/quicktime/ReadIndex.h"
#include "media/quicktime/detail/Rescale.h"

#include <algorithm>
#include <cerrno>

namespace media::quicktime {

namespace {

bool isJoinable(const TrackIndex& track) {
    return (track.handler == Handler::Video || track.handler == Handler::Sound) && !track.samples.empty();
}

std::int64_t endOf(const OutputTrack& track) {
    std::int64_t end = 0;
    for (const Segment& segment : track.segments)
        end += segment.duration;
    return end;
}

// How much media an edit shows: its duration in media units, times its rate.
std::int64_t mediaShownBy(const EditListEntry& edit, std::int32_t movieScale, std::int32_t mediaScale) {
    const media::detail::Int128 shown = static_cast<media::detail::Int128>(edit.duration) * mediaScale *
                                        edit.mediaRate /
                                        (static_cast<media::detail::Int128>(movieScale) * 0x10000);
    return static_cast<std::int64_t>(shown);
}

} // namespace

OutputTrack outputTrackLike(const TrackIndex& track) {
    OutputTrack output;
    output.handlerType = track.handlerType;
    output.mediaTimeScale = track.mediaTimeScale;
    output.language = track.language;
    output.enabled = (track.flags & 1) != 0;
    output.width = track.width;
    output.height = track.height;
    output.matrix = track.matrix;
    output.volume = track.volume;
    return output;
}

std::optional<SampleRange> samplesForMediaRange(const TrackIndex& track, std::int64_t mediaStart,
                                                std::int64_t mediaDuration) {
    const SampleList& samples = track.samples;
    const std::int64_t rangeEnd = mediaStart + mediaDuration;
    std::optional<std::size_t> first;
    std::size_t last = 0;
    std::int64_t decodeTime = 0;
    for (std::size_t i = 0; i < samples.count(); ++i) {
        const std::int64_t shown = decodeTime + samples.compositionOffset(i);
        const std::int64_t shownEnd = shown + std::max<std::int64_t>(samples.duration(i), 1);
        if (shown < rangeEnd && shownEnd > mediaStart) {
            first = std::min(first.value_or(i), i);
            last = i;
        }
        decodeTime += samples.duration(i);
    }
    if (!first)
        return std::nullopt;
    std::size_t begin = *first;
    if (track.handler == Handler::Sound && begin > 0)
        --begin;
    while (begin > 0 && !samples.isSync(begin))
        --begin;
    return SampleRange{begin, last + 1 - begin};
}

std::vector<Segment> segmentsForTrack(const SourceIndex& index, std::uint32_t trackNumber,
                                      std::int32_t source, std::int32_t movieTimeScale) {
    const TrackIndex& track = index.tracks[trackNumber];
    std::vector<Segment> segments;
    const std::int64_t mediaLength = track.samples.totalDuration();
    if (track.editList.empty()) {
        if (track.samples.empty())
            return segments;
        Segment whole;
        whole.source = source;
        whole.track = trackNumber;
        whole.sampleCount = track.samples.count();
        whole.mediaDuration = mediaLength;
        whole.duration = detail::rescaleRounded(mediaLength, movieTimeScale, track.mediaTimeScale);
        segments.push_back(whole);
        return segments;
    }
    const auto mediaEdits = std::count_if(track.editList.begin(), track.editList.end(),
                                          [](const EditListEntry& edit) { return !edit.isEmpty(); });
    std::int64_t sourceTime = 0;
    std::int64_t outputTime = 0;
    for (std::size_t e = 0; e < track.editList.size(); ++e) {
        EditListEntry edit = track.editList[e];
        if (edit.duration == 0 && !edit.isEmpty() &&
            e + 1 == track.editList.size()) // "to the end of the media"
            edit.duration = detail::rescaleRounded(mediaLength - edit.mediaTime, index.movieTimeScale,
                                                   track.mediaTimeScale);
        sourceTime += edit.duration;
        const std::int64_t end = detail::rescaleRounded(sourceTime, movieTimeScale, index.movieTimeScale);
        const std::int64_t duration = end - outputTime;
        outputTime = end;
        if (edit.isEmpty()) {
            segments.push_back(Segment::empty(duration));
            continue;
        }
        Segment segment;
        segment.source = source;
        segment.track = trackNumber;
        segment.mediaStart = edit.mediaTime;
        segment.mediaDuration = mediaShownBy(edit, index.movieTimeScale, track.mediaTimeScale);
        segment.duration = duration;
        if (mediaEdits == 1) {
            segment.sampleCount = track.samples.count();
        } else {
            const auto range = samplesForMediaRange(track, segment.mediaStart, segment.mediaDuration);
            if (!range) {
                segments.push_back(Segment::empty(duration)); // shows nothing: a gap of the same length
                continue;
            }
            segment.firstSample = range->first;
            segment.sampleCount = range->count;
        }
        if (segment.sampleCount > 0)
            segments.push_back(segment);
    }
    return segments;
}

std::expected<void, Error> appendWholeSource(WriteRequest& request, std::int32_t source) {
    if (source < 0 || static_cast<std::size_t>(source) >= request.sources.size())
        return std::unexpected(Error{EINVAL, "The source to append is not in the request."});
    WriteSource& file = request.sources[static_cast<std::size_t>(source)];
    if (!file.index) {
        auto index = readIndex(file.path);
        if (!index)
            return std::unexpected(
                Error{index.error().code, file.path.string() + ": " + index.error().message});
        file.index = std::make_shared<const SourceIndex>(std::move(*index));
    }
    const SourceIndex& index = *file.index;
    if (request.tracks.empty())
        for (const TrackIndex& track : index.tracks)
            if (isJoinable(track))
                request.tracks.push_back(outputTrackLike(track));

    std::int64_t joinPoint = 0;
    for (const OutputTrack& track : request.tracks)
        joinPoint = std::max(joinPoint, endOf(track));
    for (OutputTrack& output : request.tracks) {
        // The rank of this output track among those of its kind picks the source track.
        const auto rank = std::count_if(&request.tracks.front(), &output, [&](const OutputTrack& other) {
            return other.handlerType == output.handlerType;
        });
        std::int64_t seen = 0;
        for (std::uint32_t t = 0; t < index.tracks.size(); ++t) {
            const TrackIndex& track = index.tracks[t];
            if (!isJoinable(track) || track.handlerType != output.handlerType || seen++ != rank)
                continue;
            const std::int64_t end = endOf(output);
            if (end < joinPoint)
                output.segments.push_back(Segment::empty(joinPoint - end));
            for (const Segment& segment : segmentsForTrack(index, t, source, request.movieTimeScale))
                output.segments.push_back(segment);
            break;
        }
    }
    return {};
}

} // namespace media::quicktime
