#include "media/quicktime/detail/FileLayout.h"

#include "media/detail/Int128.h"
#include "media/quicktime/AliasRecord.h"
#include "media/quicktime/detail/ChapterTrack.h"
#include "media/quicktime/detail/Rescale.h"
#include "media/quicktime/detail/TrackTiming.h"

#include <algorithm>
#include <cerrno>
#include <map>
#include <optional>
#include <string>

namespace media::quicktime::detail {

namespace {

// Byte spans of one source closer than this are copied as one run: copying a
// little unused data costs less than another run, and the unused bytes are harmless.
constexpr std::uint64_t kMergeGap = 1 << 20;

Error badRequest(const std::string& what) {
    return Error{EINVAL, "The movie cannot be written: " + what + "."};
}

std::expected<void, Error> checkSegment(const FileLayout& layout, const OutputTrack& track,
                                        const Segment& segment) {
    if (segment.duration < 0)
        return std::unexpected(badRequest("a segment has a negative duration"));
    if (segment.isEmpty())
        return {};
    if (static_cast<std::size_t>(segment.source) >= layout.indexes.size())
        return std::unexpected(badRequest("a segment names a source that is not in the request"));
    const SourceIndex& index = *layout.indexes[static_cast<std::size_t>(segment.source)];
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
// FFmpeg's reader follows one data reference per track. Each stretch of a
// track that plays one source gets its own track (a source played twice gets
// two), placed in time by an empty edit before it, so that no track needs a
// gap between its samples.
std::vector<OutputTrack> splitBySource(const std::vector<OutputTrack>& tracks) {
    std::vector<OutputTrack> split;
    for (const OutputTrack& track : tracks) {
        std::int64_t elapsed = 0;
        std::int64_t gapSince = 0; // where the gaps after the current stretch began
        std::optional<OutputTrack> own;
        const auto close = [&] {
            if (own)
                split.push_back(std::move(*own));
            own.reset();
        };
        for (const Segment& segment : track.segments) {
            if (!segment.isEmpty() && segment.duration > 0) {
                if (own && own->segments.back().source != segment.source)
                    close();
                if (!own) {
                    own = track;
                    own->segments.clear();
                    if (elapsed > 0)
                        own->segments.push_back(Segment::empty(elapsed));
                } else if (elapsed > gapSince) {
                    own->segments.push_back(Segment::empty(elapsed - gapSince));
                }
                own->segments.push_back(segment);
                gapSince = elapsed + segment.duration;
            }
            elapsed += segment.duration;
        }
        close();
    }
    return split;
}

bool hasSamples(const OutputTrack& track) {
    return std::any_of(track.segments.begin(), track.segments.end(),
                       [](const Segment& segment) { return !segment.isEmpty() && segment.duration > 0; });
}

// A sample description with its data reference index set to `reference`.
ByteVector withReference(const std::vector<std::uint8_t>& description, std::uint16_t reference) {
    ByteVector entry(description.begin(), description.end());
    storeBig(entry, 14, reference, 2);
    return entry;
}

std::expected<void, Error> layOutDescriptions(const FileLayout& layout, TrackLayout& laidOut) {
    std::map<ByteVector, std::uint32_t> known;
    for (SegmentLayout& part : laidOut.segments) {
        if (part.segment.isEmpty())
            continue;
        const TrackIndex& source = layout.sourceTrack(part.segment);
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
            auto [at, added] = known.emplace(entry, static_cast<std::uint32_t>(laidOut.descriptions.size()));
            if (added)
                laidOut.descriptions.push_back(std::move(entry));
            part.descriptionMap[d] = at->second;
        }
        if (laidOut.mediaInformationHeader.empty())
            laidOut.mediaInformationHeader = source.mediaInformationHeader;
    }
    return {};
}

// Groups the byte spans the segments use into runs: one per source when its
// spans overlap or nearly touch (a whole file's tracks are interleaved, so
// they form one span), ordered by when the movie first plays them.
void layOutCopyRuns(FileLayout& layout) {
    struct Use final {
        std::int32_t source;
        std::uint64_t start, end;
        std::int64_t firstPlayed;
        SegmentLayout* part;
    };
    std::vector<Use> uses;
    for (TrackLayout& track : layout.tracks) {
        std::int64_t time = 0;
        for (SegmentLayout& part : track.segments) {
            if (!part.segment.isEmpty() && layout.copies(part.segment.source)) {
                const SampleList& samples = layout.sourceTrack(part.segment).samples;
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
        std::vector<SegmentLayout*> parts;
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
        for (SegmentLayout* part : run.parts)
            part->run = static_cast<std::int32_t>(layout.runs.size());
        layout.runs.push_back(run.run);
    }
    layout.copiedBytes = at;
}

} // namespace

std::int64_t TrackLayout::duration() const {
    std::int64_t total = 0;
    for (const EditListEntry& entry : editList)
        total += entry.duration;
    return total;
}

std::int64_t TrackLayout::mediaDuration() const {
    std::int64_t total = 0;
    for (const SegmentLayout& part : segments)
        total += part.outputDecodeLength;
    for (const OwnSample& sample : ownSamples)
        total += sample.duration;
    return total;
}

std::int64_t FileLayout::duration() const {
    std::int64_t longest = 0;
    for (const TrackLayout& track : tracks)
        longest = std::max(longest, track.duration());
    return longest;
}

std::expected<FileLayout, Error> layOutFile(const WriteRequest& request,
                                            std::vector<std::shared_ptr<const SourceIndex>> indexes) {
    FileLayout layout;
    layout.kind = request.kind;
    layout.placement = request.placement;
    layout.movieTimeScale = request.movieTimeScale;
    layout.posterTime = request.posterTime;
    layout.indexes = std::move(indexes);
    for (const WriteSource& source : request.sources)
        layout.embedded.push_back(source.embedded);
    layout.embedded.resize(layout.indexes.size(), false);
    if (layout.movieTimeScale <= 0)
        return std::unexpected(badRequest("the movie has no time scale"));

    const std::vector<OutputTrack> tracks =
        layout.placement == DataPlacement::Referring ? splitBySource(request.tracks) : request.tracks;
    for (const OutputTrack& track : tracks) {
        if (track.mediaTimeScale <= 0)
            return std::unexpected(badRequest("a track has no time scale"));
        for (const Segment& segment : track.segments)
            if (auto checked = checkSegment(layout, track, segment); !checked)
                return std::unexpected(checked.error());
        if (!hasSamples(track))
            continue; // a track of gaps alone shows nothing
        TrackLayout laidOut;
        laidOut.attributes = track;
        laidOut.attributes.segments.clear();
        laidOut.trackId = static_cast<std::uint32_t>(layout.tracks.size() + 1);
        for (const Segment& segment : track.segments)
            if (segment.isEmpty() || segment.duration > 0) // a segment shown for no time has nothing to write
                laidOut.segments.push_back(SegmentLayout{segment, -1, {}, 0, 0, false, 0});
        if (auto done = timeTrack(layout, laidOut); !done)
            return std::unexpected(done.error());
        if (auto done = layOutDescriptions(layout, laidOut); !done)
            return std::unexpected(done.error());
        OutputReference reference; // the samples are in this file
        // After splitBySource a referring movie's track takes all its samples from one source.
        const auto part = std::find_if(laidOut.segments.begin(), laidOut.segments.end(),
                                       [](const SegmentLayout& p) { return !p.segment.isEmpty(); });
        if (!layout.copies(part->segment.source)) {
            const auto& path = request.sources[static_cast<std::size_t>(part->segment.source)].path;
            reference = OutputReference{makeFourCC("alis"), 0, aliasRecord(std::filesystem::absolute(path))};
        }
        laidOut.references.push_back(std::move(reference));
        layout.tracks.push_back(std::move(laidOut));
    }

    layOutCopyRuns(layout);
    layout.mediaDataSize = layout.copiedBytes;
    // One block of silence per track whose sound has gaps: up to a second of it.
    for (TrackLayout& track : layout.tracks) {
        std::int64_t longest = 0;
        for (const SegmentLayout& part : track.segments)
            longest = std::max(longest, part.silentFrames);
        if (longest == 0)
            continue;
        track.silenceFrames = static_cast<std::uint64_t>(
            std::min<std::int64_t>(longest, std::max(track.attributes.mediaTimeScale, 1)));
        track.silenceStart = layout.mediaDataSize;
        layout.mediaDataSize += track.silenceFrames * track.silenceBytesPerFrame;
    }

    const auto video = std::find_if(layout.tracks.begin(), layout.tracks.end(), [](const TrackLayout& track) {
        return track.attributes.handlerType == makeFourCC("vide");
    });
    if (!request.chapters.empty() && video != layout.tracks.end()) {
        // The chapter track lasts as long as the movie, however its chapters were rounded.
        auto chapters = chapterTrackLayout(request.chapters, layout.movieTimeScale, layout.duration());
        if (!chapters)
            return std::unexpected(chapters.error());
        if (*chapters) {
            TrackLayout track = std::move(**chapters);
            track.trackId = static_cast<std::uint32_t>(layout.tracks.size() + 1);
            for (OwnSample& sample : track.ownSamples) {
                sample.outputStart = layout.mediaDataSize;
                layout.mediaDataSize += sample.bytes.size();
            }
            video->chapterTrackId = track.trackId;
            layout.tracks.push_back(std::move(track));
        }
    }
    if (layout.tracks.empty())
        return std::unexpected(badRequest("it has no samples"));
    return layout;
}

} // namespace media::quicktime::detail
