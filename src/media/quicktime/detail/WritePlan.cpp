#include "media/quicktime/detail/WritePlan.h"

#include "media/detail/Int128.h"
#include "media/quicktime/AliasRecord.h"
#include "media/quicktime/detail/ChapterTrack.h"
#include "media/quicktime/detail/Rescale.h"

#include <algorithm>
#include <cerrno>
#include <map>
#include <string>

namespace media::quicktime::detail {

namespace {

// Byte spans of one source closer than this are copied as one run: copying a
// little unused data costs less than another run, and the unused bytes are harmless.
constexpr std::uint64_t kMergeGap = 1 << 20;

Error badRequest(const std::string& what) {
    return Error{EINVAL, "The movie cannot be written: " + what + "."};
}

std::expected<void, Error> checkSegment(const WritePlan& plan, const OutputTrack& track,
                                        const Segment& segment) {
    if (segment.duration < 0)
        return std::unexpected(badRequest("a segment has a negative duration"));
    if (segment.isEmpty())
        return {};
    if (static_cast<std::size_t>(segment.source) >= plan.indexes.size())
        return std::unexpected(badRequest("a segment names a source that is not in the request"));
    const SourceIndex& index = *plan.indexes[static_cast<std::size_t>(segment.source)];
    if (segment.track >= index.tracks.size())
        return std::unexpected(badRequest("a segment names a track its source does not have"));
    const TrackIndex& source = index.tracks[segment.track];
    if (segment.sampleCount == 0 || segment.firstSample > source.samples.count() ||
        segment.sampleCount > source.samples.count() - segment.firstSample)
        return std::unexpected(badRequest("a segment names samples its source track does not have"));
    if (segment.mediaDuration < 0)
        return std::unexpected(badRequest("a segment has a negative media duration"));
    if (track.handlerType != 0 && source.handlerType != track.handlerType)
        return std::unexpected(badRequest("a segment's source track is of another kind than its track"));
    return {};
}

// In a movie that refers to its sources, each source gets tracks of its own:
// FFmpeg's reader follows one data reference per track. Each keeps the
// original track's place in time through empty edits where other sources play.
std::vector<OutputTrack> splitBySource(const std::vector<OutputTrack>& tracks) {
    std::vector<OutputTrack> split;
    for (const OutputTrack& track : tracks) {
        std::vector<std::int32_t> sources;
        for (const Segment& segment : track.segments)
            if (!segment.isEmpty() &&
                std::find(sources.begin(), sources.end(), segment.source) == sources.end())
                sources.push_back(segment.source);
        for (std::int32_t source : sources) {
            OutputTrack own = track;
            own.segments.clear();
            for (const Segment& segment : track.segments) {
                if (segment.source == source)
                    own.segments.push_back(segment);
                else if (!own.segments.empty() && own.segments.back().isEmpty())
                    own.segments.back().duration += segment.duration;
                else
                    own.segments.push_back(Segment::empty(segment.duration));
            }
            while (!own.segments.empty() && own.segments.back().isEmpty())
                own.segments.pop_back();
            split.push_back(std::move(own));
        }
    }
    return split;
}

bool hasSamples(const OutputTrack& track) {
    return std::any_of(track.segments.begin(), track.segments.end(),
                       [](const Segment& segment) { return !segment.isEmpty(); });
}

// A sample description with its data reference index set to `reference`.
ByteVector withReference(const std::vector<std::uint8_t>& description, std::uint16_t reference) {
    ByteVector entry(description.begin(), description.end());
    storeBig(entry, 14, reference, 2);
    return entry;
}

std::expected<void, Error> planSamples(const WritePlan& plan, PlannedTrack& planned) {
    std::int64_t outputTime = 0;
    bool first = true;
    for (PlannedSegment& part : planned.segments) {
        if (part.segment.isEmpty())
            continue;
        const TrackIndex& source = plan.sourceTrack(part.segment);
        const SampleList& samples = source.samples;
        if (first)
            planned.packed = source.packed;
        else if (source.packed.has_value() != planned.packed.has_value() ||
                 (source.packed && (source.packed->sampleSize != planned.packed->sampleSize ||
                                    source.packed->sampleDuration != planned.packed->sampleDuration)))
            return std::unexpected(badRequest("a track mixes sound stored frame by frame with other sound"));
        const std::int64_t to = planned.attributes.mediaTimeScale;
        const std::int64_t from = source.mediaTimeScale;
        if (source.packed && to != from)
            return std::unexpected(badRequest("uncompressed sound cannot change its time scale"));
        const std::size_t begin = static_cast<std::size_t>(part.segment.firstSample);
        const std::size_t end = begin + static_cast<std::size_t>(part.segment.sampleCount);
        part.sourceDecodeStart = samples.decodeTime(begin);
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
        part.outputDecodeStart = outputTime;
        part.outputDecodeLength = previous;
        outputTime += previous;
        first = false;
    }
    return {};
}

std::expected<void, Error> planDescriptions(const WritePlan& plan, PlannedTrack& planned) {
    std::map<ByteVector, std::uint32_t> known;
    for (PlannedSegment& part : planned.segments) {
        if (part.segment.isEmpty())
            continue;
        const TrackIndex& source = plan.sourceTrack(part.segment);
        part.descriptionMap.assign(source.sampleDescriptions.size(), 0);
        std::vector<bool> used(source.sampleDescriptions.size(), false);
        const std::size_t begin = static_cast<std::size_t>(part.segment.firstSample);
        const std::size_t end = begin + static_cast<std::size_t>(part.segment.sampleCount);
        for (std::size_t i = begin; i < end; ++i)
            used[source.samples.descriptionIndex(i)] = true;
        for (std::size_t d = 0; d < used.size(); ++d) {
            if (!used[d])
                continue;
            // Every track has one data reference: this file, or (referring) its one source.
            ByteVector entry = withReference(source.sampleDescriptions[d], 1);
            auto [at, added] = known.emplace(entry, static_cast<std::uint32_t>(planned.descriptions.size()));
            if (added)
                planned.descriptions.push_back(std::move(entry));
            part.descriptionMap[d] = at->second;
        }
        if (planned.mediaInformationHeader.empty())
            planned.mediaInformationHeader = source.mediaInformationHeader;
    }
    return {};
}

std::int32_t mediaRate(const Segment& segment, std::int32_t sourceScale, std::int32_t movieScale) {
    if (segment.mediaDuration <= 0 || segment.duration <= 0)
        return 0x10000;
    // (media seconds / movie seconds) in 16.16
    const media::detail::Int128 numerator =
        static_cast<media::detail::Int128>(segment.mediaDuration) * movieScale * 0x10000;
    const media::detail::Int128 denominator =
        static_cast<media::detail::Int128>(segment.duration) * sourceScale;
    const media::detail::Int128 rate = (numerator + denominator / 2) / denominator;
    return rate > INT32_MAX ? INT32_MAX : std::max<std::int32_t>(1, static_cast<std::int32_t>(rate));
}

// Whether a media edit at the normal rate ends exactly at `mediaTime`.
bool continuesFrom(const EditListEntry& previous, std::int64_t mediaTime, const PlannedTrack& track,
                   std::int32_t movieTimeScale) {
    if (previous.isEmpty() || previous.mediaRate != 0x10000)
        return false;
    const media::detail::Int128 shown =
        static_cast<media::detail::Int128>(previous.duration) * track.attributes.mediaTimeScale;
    return shown % movieTimeScale == 0 &&
           previous.mediaTime + static_cast<std::int64_t>(shown / movieTimeScale) == mediaTime;
}

std::expected<void, Error> planEditList(const WritePlan& plan, PlannedTrack& planned) {
    for (const PlannedSegment& part : planned.segments) {
        const Segment& segment = part.segment;
        if (segment.duration == 0)
            continue;
        if (segment.isEmpty()) {
            if (!planned.editList.empty() && planned.editList.back().isEmpty())
                planned.editList.back().duration += segment.duration;
            else
                planned.editList.push_back(EditListEntry{segment.duration, -1, 0x10000});
            continue;
        }
        const TrackIndex& source = plan.sourceTrack(segment);
        const std::int64_t lead = rescaleRounded(segment.mediaStart - part.sourceDecodeStart,
                                                 planned.attributes.mediaTimeScale, source.mediaTimeScale);
        const std::int64_t mediaTime = part.outputDecodeStart + lead;
        if (mediaTime < 0)
            return std::unexpected(badRequest("a segment's media starts before its samples"));
        const std::int32_t rate = mediaRate(segment, source.mediaTimeScale, plan.movieTimeScale);
        // An edit that goes on exactly where the one before it stopped, at the
        // normal rate, extends it: players then read across the join without
        // re-reading (FFmpeg reads on after an edit's end to the next key frame).
        if (!planned.editList.empty() && rate == 0x10000 &&
            continuesFrom(planned.editList.back(), mediaTime, planned, plan.movieTimeScale)) {
            planned.editList.back().duration += segment.duration;
            continue;
        }
        planned.editList.push_back(EditListEntry{segment.duration, mediaTime, rate});
    }
    return {};
}

// Groups the byte spans the segments use into runs: one per source when its
// spans overlap or nearly touch (a whole file's tracks are interleaved, so
// they form one span), ordered by when the movie first plays them.
void planCopyRuns(WritePlan& plan) {
    struct Use final {
        std::int32_t source;
        std::uint64_t start, end;
        std::int64_t firstPlayed;
        PlannedSegment* part;
    };
    std::vector<Use> uses;
    for (PlannedTrack& track : plan.tracks) {
        std::int64_t time = 0;
        for (PlannedSegment& part : track.segments) {
            if (!part.segment.isEmpty() && plan.copies(part.segment.source)) {
                const SampleList& samples = plan.sourceTrack(part.segment).samples;
                std::uint64_t start = UINT64_MAX, end = 0;
                const std::size_t begin = static_cast<std::size_t>(part.segment.firstSample);
                for (std::size_t i = begin; i < begin + part.segment.sampleCount; ++i) {
                    start = std::min(start, samples.offset(i));
                    end = std::max(end, samples.offset(i) + samples.byteSize(i));
                }
                uses.push_back(Use{part.segment.source, start, end, time, &part});
            }
            time += part.segment.duration;
        }
    }
    std::sort(uses.begin(), uses.end(), [](const Use& a, const Use& b) {
        return a.source != b.source ? a.source < b.source : a.start < b.start;
    });
    struct Run final {
        CopyRun run;
        std::int64_t firstPlayed;
        std::vector<PlannedSegment*> parts;
    };
    std::vector<Run> runs;
    for (const Use& use : uses) {
        if (!runs.empty() && runs.back().run.source == use.source &&
            use.start <= runs.back().run.sourceEnd + kMergeGap) {
            Run& run = runs.back();
            run.run.sourceEnd = std::max(run.run.sourceEnd, use.end);
            run.firstPlayed = std::min(run.firstPlayed, use.firstPlayed);
            run.parts.push_back(use.part);
        } else {
            runs.push_back(Run{CopyRun{use.source, use.start, use.end, 0}, use.firstPlayed, {use.part}});
        }
    }
    std::stable_sort(runs.begin(), runs.end(),
                     [](const Run& a, const Run& b) { return a.firstPlayed < b.firstPlayed; });
    std::uint64_t at = 0;
    for (Run& run : runs) {
        run.run.outputStart = at;
        at += run.run.sourceEnd - run.run.sourceStart;
        for (PlannedSegment* part : run.parts)
            part->run = static_cast<std::int32_t>(plan.runs.size());
        plan.runs.push_back(run.run);
    }
    plan.copiedBytes = at;
}

} // namespace

std::int64_t PlannedTrack::duration() const {
    std::int64_t total = 0;
    for (const EditListEntry& entry : editList)
        total += entry.duration;
    return total;
}

std::int64_t PlannedTrack::mediaDuration() const {
    std::int64_t total = 0;
    for (const PlannedSegment& part : segments)
        total += part.outputDecodeLength;
    for (const OwnSample& sample : ownSamples)
        total += sample.duration;
    return total;
}

std::int64_t WritePlan::duration() const {
    std::int64_t longest = 0;
    for (const PlannedTrack& track : tracks)
        longest = std::max(longest, track.duration());
    return longest;
}

std::expected<WritePlan, Error> planWrite(const WriteRequest& request,
                                          std::vector<std::shared_ptr<const SourceIndex>> indexes) {
    WritePlan plan;
    plan.kind = request.kind;
    plan.placement = request.placement;
    plan.movieTimeScale = request.movieTimeScale;
    plan.indexes = std::move(indexes);
    for (const WriteSource& source : request.sources)
        plan.embedded.push_back(source.embedded);
    plan.embedded.resize(plan.indexes.size(), false);
    if (plan.movieTimeScale <= 0)
        return std::unexpected(badRequest("the movie has no time scale"));

    const std::vector<OutputTrack> tracks =
        plan.placement == DataPlacement::Referring ? splitBySource(request.tracks) : request.tracks;
    for (const OutputTrack& track : tracks) {
        if (track.mediaTimeScale <= 0)
            return std::unexpected(badRequest("a track has no time scale"));
        for (const Segment& segment : track.segments)
            if (auto checked = checkSegment(plan, track, segment); !checked)
                return std::unexpected(checked.error());
        if (!hasSamples(track))
            continue; // a track of gaps alone shows nothing
        PlannedTrack planned;
        planned.attributes = track;
        planned.attributes.segments.clear();
        planned.trackId = static_cast<std::uint32_t>(plan.tracks.size() + 1);
        for (const Segment& segment : track.segments)
            planned.segments.push_back(PlannedSegment{segment, -1, {}, 0, 0, 0});
        if (auto done = planSamples(plan, planned); !done)
            return std::unexpected(done.error());
        if (auto done = planDescriptions(plan, planned); !done)
            return std::unexpected(done.error());
        if (auto done = planEditList(plan, planned); !done)
            return std::unexpected(done.error());
        OutputReference reference; // the samples are in this file
        // After splitBySource a referring movie's track takes all its samples from one source.
        const auto part = std::find_if(planned.segments.begin(), planned.segments.end(),
                                       [](const PlannedSegment& p) { return !p.segment.isEmpty(); });
        if (!plan.copies(part->segment.source)) {
            const auto& path = request.sources[static_cast<std::size_t>(part->segment.source)].path;
            reference = OutputReference{makeFourCC("alis"), 0, aliasRecord(std::filesystem::absolute(path))};
        }
        planned.references.push_back(std::move(reference));
        plan.tracks.push_back(std::move(planned));
    }

    planCopyRuns(plan);
    plan.mediaDataSize = plan.copiedBytes;

    const auto video = std::find_if(plan.tracks.begin(), plan.tracks.end(), [](const PlannedTrack& track) {
        return track.attributes.handlerType == makeFourCC("vide");
    });
    if (!request.chapters.empty() && video != plan.tracks.end()) {
        auto chapters = planChapterTrack(request.chapters, plan.movieTimeScale);
        if (!chapters)
            return std::unexpected(chapters.error());
        if (*chapters) {
            PlannedTrack track = std::move(**chapters);
            track.trackId = static_cast<std::uint32_t>(plan.tracks.size() + 1);
            for (OwnSample& sample : track.ownSamples) {
                sample.outputStart = plan.mediaDataSize;
                plan.mediaDataSize += sample.bytes.size();
            }
            video->chapterTrackId = track.trackId;
            plan.tracks.push_back(std::move(track));
        }
    }
    if (plan.tracks.empty())
        return std::unexpected(badRequest("it has no samples"));
    return plan;
}

} // namespace media::quicktime::detail
