#include "media/quicktime/detail/TrackTiming.h"

#include "media/quicktime/detail/Rescale.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace media::quicktime::detail {

namespace {

Error badRequest(const std::string& what) {
    return Error{EINVAL, "The movie cannot be written: " + what + "."};
}

// A segment that shows samples, with where the movie places it.
struct Placed final {
    SegmentLayout* part = nullptr;
    std::int64_t target = 0; // output media units from the start of the track's media edit
    std::int64_t lead = 0;   // output media units from its first decoded sample to its first shown instant
};

// The samples of one segment in output units: their decode times from the
// segment's first sample, rounded from the exact running time. For sound,
// the last frame lasts as long as the one before it: an encoder's last frame
// is listed shorter (the rest is padding), but a decoder still plays it whole,
// so in the middle of a movie it takes its whole time.
class SegmentSamples final {
public:
    SegmentSamples(const SampleList& samples, std::size_t first, std::size_t count, std::int64_t to,
                   std::int64_t from, bool wholeLastFrame)
        : m_ends(count) {
        std::int64_t elapsed = 0;
        for (std::size_t i = 0; i < count; ++i) {
            std::uint32_t duration = samples.duration(first + i);
            // The frame before it in the source tells a whole frame's length, also
            // when a join point kept only this last frame of the segment.
            if (wholeLastFrame && i + 1 == count && first + i > 0)
                duration = std::max(duration, samples.duration(first + i - 1));
            elapsed += duration;
            m_ends[i] = rescaleRounded(elapsed, to, from);
        }
    }
    std::size_t count() const { return m_ends.size(); }
    std::int64_t start(std::size_t i) const { return i == 0 ? 0 : m_ends[i - 1]; }
    std::int64_t end(std::size_t i) const { return m_ends[i]; }
    std::int64_t duration(std::size_t i) const { return end(i) - start(i); }
    // The length of samples [from, to).
    std::int64_t span(std::size_t from, std::size_t to) const { return start(to) - start(from); }

private:
    std::vector<std::int64_t> m_ends;
};

std::expected<void, Error> checkSamples(const FileLayout& layout, TrackLayout& track) {
    bool first = true;
    for (SegmentLayout& part : track.segments) {
        if (part.segment.isEmpty())
            continue;
        const TrackIndex& source = layout.sourceTrack(part.segment);
        const SampleList& samples = source.samples;
        if (first)
            track.packed = source.packed;
        else if (source.packed.has_value() != track.packed.has_value() ||
                 (source.packed && (source.packed->sampleSize != track.packed->sampleSize ||
                                    source.packed->sampleDuration != track.packed->sampleDuration)))
            return std::unexpected(badRequest("a track mixes sound stored frame by frame with other sound"));
        first = false;
        const std::int64_t to = track.attributes.mediaTimeScale;
        const std::int64_t from = source.mediaTimeScale;
        if (source.packed && to != from)
            return std::unexpected(badRequest("uncompressed sound cannot change its time scale"));
        const std::size_t begin = static_cast<std::size_t>(part.segment.firstSample);
        const std::size_t end = begin + static_cast<std::size_t>(part.segment.sampleCount);
        std::int64_t length = 0;
        std::int64_t previous = 0;
        for (std::size_t i = begin; i < end; ++i) {
            const std::int64_t next = rescaleRounded(length + samples.duration(i), to, from);
            const std::int64_t presented = rescaleRounded(length + samples.compositionOffset(i), to, from) -
                                           rescaleRounded(length, to, from);
            if (next - previous > UINT32_MAX || presented > INT32_MAX || presented < INT32_MIN)
                return std::unexpected(badRequest("a sample's time does not fit the track's time scale"));
            length += samples.duration(i);
            previous = next;
        }
    }
    return {};
}

// Picture (and anything else whose samples may be lengthened): each segment
// starts on its time; the one before it is bent to end there.
std::expected<void, Error> timeFitted(const FileLayout& layout, const TrackLayout& track,
                                      std::vector<Placed>& placed, std::int64_t end,
                                      std::int64_t mediaStart) {
    for (std::size_t i = 0; i < placed.size(); ++i) {
        SegmentLayout& part = *placed[i].part;
        std::int64_t start = mediaStart + placed[i].target - placed[i].lead;
        if (i > 0) { // every sample keeps at least one unit
            const SegmentLayout& before = *placed[i - 1].part;
            start = std::max(start, before.outputDecodeStart +
                                        static_cast<std::int64_t>(before.segment.sampleCount));
        }
        part.outputDecodeStart = std::max<std::int64_t>(start, 0);
        part.fitted = true;
    }
    for (std::size_t i = 0; i < placed.size(); ++i) {
        SegmentLayout& part = *placed[i].part;
        const std::int64_t next =
            i + 1 < placed.size() ? placed[i + 1].part->outputDecodeStart : mediaStart + end - placed[i].lead;
        part.outputDecodeLength =
            std::max(next - part.outputDecodeStart, static_cast<std::int64_t>(part.segment.sampleCount));
        // The last sample takes up the difference: it must still fit a sample table.
        const TrackIndex& source = layout.sourceTrack(part.segment);
        const auto first = static_cast<std::size_t>(part.segment.firstSample);
        const std::int64_t natural = rescaleRounded(
            source.samples.decodeTime(first + static_cast<std::size_t>(part.segment.sampleCount)) -
                source.samples.decodeTime(first),
            track.attributes.mediaTimeScale, source.mediaTimeScale);
        if (part.outputDecodeLength - natural > INT32_MAX)
            return std::unexpected(badRequest("a gap in the picture is too long for its last frame to fill"));
    }
    return {};
}

// What joining two sound segments keeps: frames dropped from the end of the
// one before and the start of the next, and repeats of the next one's first
// frame; with the error left (output units, + the sound is late).
struct SoundJoin final {
    std::size_t droppedTail = 0;
    std::size_t droppedHead = 0;
    std::int64_t repeats = 0;
    std::int64_t error = 0;
    std::size_t contentDropped = 0;
};

// Whether `a` keeps the sound closer to the picture than `b`: within half a
// frame first, then losing the least sound, then the smallest error.
bool better(const SoundJoin& a, const SoundJoin& b, std::int64_t halfFrame) {
    const bool aClose = std::llabs(a.error) <= halfFrame;
    const bool bClose = std::llabs(b.error) <= halfFrame;
    if (aClose != bClose)
        return aClose;
    if (!aClose)
        return std::llabs(a.error) < std::llabs(b.error);
    if (a.contentDropped != b.contentDropped)
        return a.contentDropped < b.contentDropped;
    if (std::llabs(a.error) != std::llabs(b.error))
        return std::llabs(a.error) < std::llabs(b.error);
    return a.repeats < b.repeats;
}

// How many frames on either side of a join point are worth considering
// beyond the priming and padding: a frame or two of real sound at most.
constexpr std::size_t kExtraFrames = 2;

// Sound: frames follow each other at their own durations; at each join
// point choose the frames that bring the next segment closest to its time.
std::expected<void, Error> timeSound(const FileLayout& layout, const TrackLayout& track,
                                     std::vector<Placed>& placed, std::int64_t mediaStart) {
    const std::int64_t to = track.attributes.mediaTimeScale;
    std::int64_t written = 0; // output decode time at the end of the segments placed so far
    std::optional<SegmentSamples> previous;
    std::int64_t previousContentEnd = 0; // from the previous segment's first kept sample
    for (Placed& place : placed) {
        SegmentLayout& part = *place.part;
        const TrackIndex& source = layout.sourceTrack(part.segment);
        SegmentSamples samples(source.samples, static_cast<std::size_t>(part.segment.firstSample),
                               static_cast<std::size_t>(part.segment.sampleCount), to, source.mediaTimeScale,
                               true);
        const std::int64_t shown = rescaleRounded(part.segment.duration, to, layout.movieTimeScale);
        if (!previous) {
            part.outputDecodeStart = 0;
        } else {
            SegmentLayout& before = *placed[static_cast<std::size_t>(&place - placed.data()) - 1].part;
            const std::size_t kept = static_cast<std::size_t>(before.segment.sampleCount);
            std::size_t padding = 0;
            while (padding + 1 < kept && previous->start(kept - 1 - padding) >= previousContentEnd)
                ++padding;
            std::size_t priming = 0;
            while (priming + 1 < samples.count() && samples.end(priming) <= place.lead)
                ++priming;
            const bool canRepeat = priming > 0; // the first frame holds priming alone: silence
            const std::int64_t wanted = mediaStart + place.target;
            const std::int64_t halfFrame = samples.duration(std::min(priming, samples.count() - 1)) / 2;
            std::optional<SoundJoin> best;
            for (std::size_t tail = 0; tail <= std::min(padding + kExtraFrames, kept - 1); ++tail) {
                const std::int64_t end = written - previous->span(kept - tail, kept);
                for (std::size_t head = 0; head <= std::min(priming + kExtraFrames, samples.count() - 1);
                     ++head) {
                    SoundJoin join{tail, head, 0, end + place.lead - samples.start(head) - wanted, 0};
                    if (join.error < 0 && head == 0 && canRepeat) {
                        const std::int64_t frame = samples.duration(0);
                        join.repeats = (-join.error + frame / 2) / frame;
                        join.error += join.repeats * frame;
                    }
                    join.contentDropped =
                        (tail > padding ? tail - padding : 0) + (head > priming ? head - priming : 0);
                    if (!best || better(join, *best, halfFrame))
                        best = join;
                }
            }
            before.segment.sampleCount -= best->droppedTail;
            written -= previous->span(kept - best->droppedTail, kept);
            before.outputDecodeLength = written - before.outputDecodeStart;
            part.segment.firstSample += best->droppedHead;
            part.segment.sampleCount -= best->droppedHead;
            part.repeats = static_cast<std::uint32_t>(best->repeats);
            part.outputDecodeStart = written;
            place.lead -= samples.start(best->droppedHead);
            samples = SegmentSamples(source.samples, static_cast<std::size_t>(part.segment.firstSample),
                                     static_cast<std::size_t>(part.segment.sampleCount), to,
                                     source.mediaTimeScale, true);
            if (best->repeats > UINT32_MAX / 2)
                return std::unexpected(badRequest("a gap in the sound is too long to fill"));
        }
        const std::int64_t repeated = static_cast<std::int64_t>(part.repeats) * samples.duration(0);
        part.outputDecodeLength = repeated + samples.span(0, samples.count());
        part.fitted = true; // its last frame takes its whole time
        written = part.outputDecodeStart + part.outputDecodeLength;
        previousContentEnd = place.lead + shown;
        previous = std::move(samples);
    }
    // Nothing follows the last segment: its last frame keeps its listed length,
    // so the track's media ends where its sound does.
    SegmentLayout& last = *placed.back().part;
    const TrackIndex& source = layout.sourceTrack(last.segment);
    const SegmentSamples samples(source.samples, static_cast<std::size_t>(last.segment.firstSample),
                                 static_cast<std::size_t>(last.segment.sampleCount), to,
                                 source.mediaTimeScale, false);
    last.outputDecodeLength =
        static_cast<std::int64_t>(last.repeats) * samples.duration(0) + samples.span(0, samples.count());
    return {};
}

// What a frame of silence holds in each byte, for the uncompressed formats
// whose frames are one packet each; none for others.
std::optional<std::uint8_t> silenceByteOf(FourCC codec) {
    if (codec == makeFourCC("raw ") || codec == makeFourCC("NONE"))
        return 0x80; // 8-bit offset binary
    if (codec == makeFourCC("ulaw"))
        return 0xFF;
    if (codec == makeFourCC("alaw"))
        return 0xD5;
    for (const FourCC zero : {makeFourCC("sowt"), makeFourCC("twos"), makeFourCC("in24"), makeFourCC("in32"),
                              makeFourCC("fl32"), makeFourCC("fl64"), makeFourCC("lpcm")})
        if (codec == zero)
            return 0x00;
    return std::nullopt;
}

// Whether every frame of a packed track's segments is a whole number of
// bytes (PCM), so a segment can start and end at any frame.
bool cutsAtAnyFrame(const FileLayout& layout, const std::vector<Placed>& placed) {
    return std::all_of(placed.begin(), placed.end(), [&](const Placed& place) {
        const TrackIndex& source = layout.sourceTrack(place.part->segment);
        const auto first = static_cast<std::size_t>(place.part->segment.firstSample);
        const std::uint32_t frames = source.samples.duration(first);
        return frames > 0 && source.samples.byteSize(first) % frames == 0;
    });
}

// Packed uncompressed sound: the frames end to end, with silence before a
// segment that starts after the sound before it ends. PCM is cut at the very
// frame each segment starts and ends (they need not be chunk boundaries),
// so the track's one edit starts at 0; other packed sound plays from its
// segments' first chunks. Answers where the track's edit starts in its media.
std::int64_t timeEndToEnd(const FileLayout& layout, TrackLayout& track, std::vector<Placed>& placed,
                          std::int64_t mediaStart, std::int64_t end) {
    const bool exact = cutsAtAnyFrame(layout, placed);
    if (exact)
        mediaStart = 0;
    std::int64_t written = 0;
    for (std::size_t k = 0; k < placed.size(); ++k) {
        Placed& place = placed[k];
        SegmentLayout& part = *place.part;
        const TrackIndex& source = layout.sourceTrack(part.segment);
        const auto first = static_cast<std::size_t>(part.segment.firstSample);
        const SegmentSamples samples(source.samples, first,
                                     static_cast<std::size_t>(part.segment.sampleCount),
                                     track.attributes.mediaTimeScale, source.mediaTimeScale, false);
        std::int64_t length = samples.span(0, samples.count());
        if (exact) {
            // From the segment's first shown frame to the next segment's place (or the track's end).
            const std::int64_t room = (k + 1 < placed.size() ? placed[k + 1].target : end) - place.target;
            part.skippedFrames = std::clamp<std::int64_t>(place.lead, 0, length);
            const std::int64_t shown = part.segment.mediaDuration > 0 ? part.segment.mediaDuration : length;
            length = std::clamp<std::int64_t>(std::min(length - part.skippedFrames, shown), 0,
                                              std::max<std::int64_t>(room, 0));
            part.keptFrames = length;
        }
        // A self-contained movie can hold the silence; a referring one points into its source.
        const std::int64_t gap = mediaStart + place.target - (exact ? 0 : place.lead) - written;
        const auto silence = silenceByteOf(source.codec(source.samples.descriptionIndex(first)));
        const std::uint32_t frames = source.samples.duration(first);
        if (gap > 0 && silence && layout.copies(part.segment.source) && frames > 0 &&
            source.samples.byteSize(first) % frames == 0 &&
            (!track.silenceByte || *track.silenceByte == *silence)) {
            part.silentFrames = gap;
            track.silenceByte = silence;
            track.silenceBytesPerFrame = source.samples.byteSize(first) / frames;
        }
        part.outputDecodeStart = written;
        part.outputDecodeLength = part.silentFrames + length;
        written += part.outputDecodeLength;
    }
    return mediaStart;
}

} // namespace

std::expected<void, Error> timeTrack(const FileLayout& layout, TrackLayout& track) {
    if (auto checked = checkSamples(layout, track); !checked)
        return checked;
    const std::int64_t to = track.attributes.mediaTimeScale;
    const std::int64_t movieScale = layout.movieTimeScale;

    std::vector<Placed> placed;
    std::int64_t movieTime = 0;
    std::int64_t firstShown = -1;
    for (SegmentLayout& part : track.segments) {
        const std::int64_t start = movieTime;
        movieTime += part.segment.duration;
        if (part.segment.isEmpty() || part.segment.duration == 0)
            continue;
        if (firstShown < 0)
            firstShown = start;
        const TrackIndex& source = layout.sourceTrack(part.segment);
        const std::int64_t decodeStart =
            source.samples.decodeTime(static_cast<std::size_t>(part.segment.firstSample));
        placed.push_back(
            Placed{&part, rescaleRounded(start - firstShown, to, movieScale),
                   rescaleRounded(part.segment.mediaStart - decodeStart, to, source.mediaTimeScale)});
    }
    if (placed.empty())
        return {};
    const std::int64_t end = rescaleRounded(movieTime - firstShown, to, movieScale);
    std::int64_t mediaStart = placed.front().lead;
    if (mediaStart < 0)
        return std::unexpected(badRequest("a segment's media starts before its samples"));

    if (track.attributes.handlerType != makeFourCC("soun")) {
        if (auto timed = timeFitted(layout, track, placed, end, mediaStart); !timed)
            return timed;
    } else if (track.packed)
        mediaStart = timeEndToEnd(layout, track, placed, mediaStart, end);
    else if (auto timed = timeSound(layout, track, placed, mediaStart); !timed)
        return timed;

    if (firstShown > 0)
        track.editList.push_back(EditListEntry{firstShown, -1, 0x10000});
    track.editList.push_back(EditListEntry{movieTime - firstShown, mediaStart, 0x10000});
    return {};
}

} // namespace media::quicktime::detail
