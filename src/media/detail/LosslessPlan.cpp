#include "media/detail/LosslessPlan.h"

#include "media/detail/FFmpeg.h"
#include "media/detail/Int128.h"
#include "media/detail/SourceFile.h"
#include "media/quicktime/ReadIndex.h"
#include "media/quicktime/ReferencedSource.h"
#include "media/quicktime/RetimedIndex.h"
#include "media/quicktime/SourceSegments.h"
#include "media/transcode/SoundStretch.h"
#include "media/transcode/StreamCopy.h"
#include "media/transcode/TranscodeJoin.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>
#include <set>
#include <string_view>
#include <tuple>

namespace media {

namespace {

// A time in `scale` units, rounded, for placing boundaries without drift.
std::int64_t unitsOf(const Time& time, std::int32_t scale) {
    return convertScale(time, scale).value;
}

bool sameHeaderParameters(const AVCodecParameters& a, const AVCodecParameters& b) {
    if (a.codec_id != b.codec_id || a.codec_type != b.codec_type)
        return false;
    if (a.codec_type == AVMEDIA_TYPE_VIDEO)
        return a.width == b.width && a.height == b.height;
    if (a.codec_type == AVMEDIA_TYPE_AUDIO)
        return a.sample_rate == b.sample_rate && a.ch_layout.nb_channels == b.ch_layout.nb_channels;
    return true;
}

bool sameConfigurationRecord(const AVCodecParameters& a, const AVCodecParameters& b) {
    return a.codec_tag == b.codec_tag && a.extradata_size > 0 && a.extradata_size == b.extradata_size &&
           std::equal(a.extradata, a.extradata + a.extradata_size, b.extradata);
}

// Whether two streams can follow each other in one track: the same codec,
// profile, size and pixel format, or sample rate and channels. Streams opened
// from their header alone may not know their profile and format yet; one
// configuration record (avcC, esds...) fixes both, so only streams whose
// records differ are read further.
bool sameCodecParameters(SourceFile& sourceA, int streamA, SourceFile& sourceB, int streamB) {
    // Sample descriptions that share their configuration record settle it without FFmpeg.
    const detail::StreamDescription* describedA = sourceA.description(streamA);
    const detail::StreamDescription* describedB = sourceB.description(streamB);
    if (describedA && describedB && detail::sameDescribedParameters(*describedA, *describedB))
        return true;
    if (!sourceA.format() || !sourceB.format())
        return false;
    const AVCodecParameters& a = *sourceA.format()->streams[streamA]->codecpar;
    const AVCodecParameters& b = *sourceB.format()->streams[streamB]->codecpar;
    if (!sameHeaderParameters(a, b))
        return false;
    if (sameConfigurationRecord(a, b))
        return true;
    sourceA.completeStreamInfo();
    sourceB.completeStreamInfo();
    if (!sameHeaderParameters(a, b) || a.profile != b.profile)
        return false;
    return a.codec_type == AVMEDIA_TYPE_VIDEO ? a.format == b.format : true;
}

bool isQuickTimeSource(const SourceFile& source) {
    return source.isQuickTime();
}

// Whether an edit plays its range faster or slower. Placing a range in a
// movie of another time scale rounds its length by up to a unit of the
// coarser scale; that is not scaling.
bool isScaled(const Edit& edit) {
    const Time& a = edit.duration;
    const Time& b = edit.sourceRange.duration;
    if (a.scale <= 0 || b.scale <= 0)
        return compareTimes(a, b) != 0;
    const detail::Int128 difference =
        static_cast<detail::Int128>(a.value) * b.scale - static_cast<detail::Int128>(b.value) * a.scale;
    return (difference < 0 ? -difference : difference) > std::max(a.scale, b.scale);
}

bool showsWholeStream(const Edit& edit) {
    const TimeRange whole = edit.source->streamRange(edit.streamIndex);
    return compareTimes(edit.sourceRange.start, whole.start) == 0 &&
           compareTimes(edit.sourceRange.duration, whole.duration) == 0;
}

// Whether an edit shows its whole stream, give or take a unit of rounding,
// less what the stream plays before time zero (priming the movie skips).
bool coversStream(const Edit& edit) {
    const TimeRange whole = edit.source->streamRange(edit.streamIndex);
    const Time unit = makeTime(1, whole.duration.scale > 0 ? whole.duration.scale : 1);
    const Time zero = makeTime(0, unit.scale);
    const Time played = compareTimes(whole.start, zero) > 0 ? whole.start : zero;
    const Time end = addTimes(edit.sourceRange.start, edit.sourceRange.duration);
    return compareTimes(edit.sourceRange.start, addTimes(played, unit)) <= 0 &&
           compareTimes(end, subtractTimes(addTimes(whole.start, whole.duration), unit)) >= 0;
}

bool isWrittenTrack(const Track& track) {
    return (track.mediaType == MediaType::Video || track.mediaType == MediaType::Sound) &&
           std::any_of(track.edits.begin(), track.edits.end(),
                       [](const Edit& edit) { return edit.source != nullptr; });
}

// The factor a scaled edit stretches its source by, as a reduced fraction.
std::pair<std::int64_t, std::int64_t> stretchFactor(const Edit& edit) {
    const detail::Int128 numerator =
        static_cast<detail::Int128>(edit.duration.value) * edit.sourceRange.duration.scale;
    const detail::Int128 denominator =
        static_cast<detail::Int128>(edit.sourceRange.duration.value) * edit.duration.scale;
    detail::Int128 a = numerator, b = denominator;
    while (b != 0)
        a = std::exchange(b, a % b);
    detail::Int128 n = numerator / a, d = denominator / a;
    while (n > INT64_MAX || d > INT64_MAX) { // beyond any real movie: keep the ratio, lose a little precision
        n /= 2;
        d /= 2;
    }
    return {static_cast<std::int64_t>(std::max<detail::Int128>(n, 1)),
            static_cast<std::int64_t>(std::max<detail::Int128>(d, 1))};
}

bool isSameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code error;
    return std::filesystem::equivalent(a, b, error) && !error;
}

// A file made for this write: where it goes, with `suffix` telling its part.
std::expected<detail::TemporaryFile, Error> scratchBeside(const std::filesystem::path& destination,
                                                          const std::string& suffix) {
    return detail::TemporaryFile::create(destination.parent_path() /
                                         (destination.stem().string() + "-" + suffix + ".mov"));
}

// What a source needs before its samples can be written by our QuickTime writer.
enum class Preparation { None, StretchSound, HoldCopy };

Preparation preparationOf(const Track& track, const Edit& edit, WritePlacement placement) {
    if (!edit.source)
        return Preparation::None;
    // A picture has no samples to point at for its duration: a referring movie holds it encoded.
    if (edit.source->isPicture())
        return placement == WritePlacement::Referring ? Preparation::HoldCopy : Preparation::None;
    if (track.mediaType == MediaType::Sound && isScaled(edit))
        return Preparation::StretchSound;
    if (!isQuickTimeSource(*edit.source) && placement == WritePlacement::Referring)
        return Preparation::HoldCopy;
    return Preparation::None;
}

// A part of a file held by a referring movie: the file and where the part
// starts (to the millisecond, so the picture's and the sound's edits over it
// name the same part).
using HeldPart = std::pair<const SourceFile*, long long>;

HeldPart heldPart(const Edit& edit) {
    return {edit.source.get(), std::llround(seconds(edit.sourceRange.start) * 1000)};
}

class Planner final {
public:
    Planner(const std::vector<Track>& tracks, std::int32_t scale, WritePlacement placement,
            const std::filesystem::path& destination, const std::function<bool(double)>& progress)
        : m_tracks(tracks), m_scale(scale), m_placement(placement), m_destination(destination),
          m_progress(progress) {
        std::set<HeldPart> held; // the picture and the sound of a part share one copy
        for (const Track& track : tracks) {
            for (const Edit& edit : track.edits) {
                const Preparation preparation = preparationOf(track, edit, placement);
                if (preparation == Preparation::StretchSound ||
                    (preparation == Preparation::HoldCopy && held.insert(heldPart(edit)).second))
                    ++m_preparations;
            }
        }
    }

    std::expected<std::optional<LosslessPlan>, Error> plan() {
        LosslessPlan plan;
        plan.request.movieTimeScale = m_scale;
        for (const Track& track : m_tracks) {
            if (!isWrittenTrack(track))
                continue;
            auto output = planTrack(track, plan);
            if (!output)
                return std::unexpected(output.error());
            if (!*output)
                return std::nullopt;
            plan.request.tracks.push_back(std::move(**output));
        }
        return plan;
    }

private:
    using Planned = std::expected<std::optional<quicktime::OutputTrack>, Error>;

    // The request's number of a source, its index read once.
    std::optional<std::int32_t> addSource(const std::filesystem::path& path,
                                          std::shared_ptr<const quicktime::SourceIndex> index, bool embedded,
                                          LosslessPlan& plan) {
        if (!index) {
            auto read = quicktime::readIndex(path);
            if (!read)
                return std::nullopt;
            index = std::make_shared<const quicktime::SourceIndex>(std::move(*read));
        }
        plan.request.sources.push_back({path, std::move(index), embedded});
        return static_cast<std::int32_t>(plan.request.sources.size() - 1);
    }

    // A scratch file just written, as a source the movie holds: one part
    // more prepared; the plan keeps the file (to remove it at the end) even
    // when it cannot be read back, which fails with `unreadable`.
    std::expected<std::int32_t, Error> addScratchSource(detail::TemporaryFile file, LosslessPlan& plan,
                                                        const char* unreadable) {
        ++m_done;
        const auto number = addSource(file.path(), nullptr, true, plan);
        plan.scratch.push_back(std::move(file));
        if (!number)
            return std::unexpected(Error{EBADMSG, unreadable});
        return *number;
    }

    // Tells the preparation's progress: `fraction` of the current part.
    bool prepared(double fraction) {
        return !m_progress || m_preparations == 0 ||
               m_progress((static_cast<double>(m_done) + std::clamp(fraction, 0.0, 1.0)) / m_preparations);
    }

    // The source (number and track) that plays an edit's samples, made ready
    // for the writer. None: the edit cannot be written without re-encoding.
    using Placed = std::expected<std::optional<std::pair<std::int32_t, std::uint32_t>>, Error>;
    Placed sourceFor(const Track& track, const Edit& edit, LosslessPlan& plan) {
        switch (preparationOf(track, edit, m_placement)) {
        case Preparation::StretchSound:
            return stretchedSound(edit, plan);
        case Preparation::HoldCopy:
            return heldCopy(track, edit, plan);
        case Preparation::None:
            break;
        }
        if (!isQuickTimeSource(*edit.source) || !showsWholeStream(edit))
            return std::nullopt;
        if (isScaled(edit) && track.mediaType != MediaType::Video)
            return std::nullopt;
        const auto [numerator, denominator] =
            isScaled(edit) ? stretchFactor(edit) : std::pair<std::int64_t, std::int64_t>{1, 1};
        const auto trackNumber = static_cast<std::uint32_t>(edit.streamIndex);
        const auto located = locate(*edit.source, trackNumber);
        if (!located)
            return std::nullopt;
        const auto key = std::make_tuple(edit.source.get(), located->file.string(), numerator, denominator);
        auto known = m_sources.find(key);
        if (known == m_sources.end()) {
            std::shared_ptr<const quicktime::SourceIndex> index = located->index;
            if (numerator != denominator) {
                auto retimed = quicktime::retimedIndex(*index, numerator, denominator);
                if (!retimed)
                    return std::unexpected(retimed.error());
                index = std::make_shared<const quicktime::SourceIndex>(std::move(*retimed));
            }
            // A movie rewriting its own file cannot point into the file it replaces.
            const bool embedded =
                m_placement == WritePlacement::Referring && isSameFile(located->file, m_destination);
            const auto number = addSource(located->file, std::move(index), embedded, plan);
            if (!number)
                return std::nullopt;
            known = m_sources.emplace(key, *number).first;
        }
        return std::pair{known->second, static_cast<std::uint32_t>(edit.streamIndex)};
    }

    // Where the samples of a track of a QuickTime source are: the file itself,
    // or for a reference movie the file the track points into.
    std::optional<quicktime::TrackSource> locate(const SourceFile& source, std::uint32_t track) {
        auto cached = m_indexes.find(&source);
        if (cached == m_indexes.end()) {
            // A file our reader opened has its index already.
            std::shared_ptr<const quicktime::SourceIndex> index = source.quickTimeIndex();
            if (!index) {
                auto read = quicktime::readIndex(source.path());
                if (!read && read.error().code == ENOTSUP)
                    read = quicktime::readReferenceMovieIndex(source.path());
                if (read)
                    index = std::make_shared<const quicktime::SourceIndex>(std::move(*read));
            }
            cached = m_indexes.emplace(&source, std::move(index)).first;
        }
        if (!cached->second)
            return std::nullopt;
        auto found = quicktime::trackSource(source.path(), cached->second, track);
        if (!found)
            return std::nullopt;
        return std::move(*found);
    }

    // The edit's sound, stretched to its duration, in a file of its own.
    Placed stretchedSound(const Edit& edit, LosslessPlan& plan) {
        auto file = scratchBeside(m_destination, "sound");
        if (!file)
            return std::unexpected(file.error());
        transcode::SoundStretch stretch{edit.source->path(), edit.streamIndex, edit.sourceRange,
                                        edit.duration,
                                        [this](double fraction) { return prepared(fraction); }};
        if (auto written = transcode::writeStretchedSound(stretch, file->path()); !written)
            return std::unexpected(written.error());
        const auto number = addScratchSource(std::move(*file), plan, "the stretched sound cannot be read back");
        if (!number)
            return std::unexpected(number.error());
        return std::pair{*number, 0u};
    }

    // The edit's range of a file we cannot point into, picture and sound,
    // put in a QuickTime file of our own that the movie holds: the packets
    // copied when the edit shows whole streams that QuickTime can carry,
    // else re-encoded. Its tracks are taken by kind, so the other track's
    // edit over the same range shares the file.
    Placed heldCopy(const Track& track, const Edit& edit, LosslessPlan& plan) {
        const bool picture = edit.source->isPicture();
        if (isScaled(edit) && !picture)
            return std::nullopt;
        const HeldPart key = heldPart(edit);
        auto known = m_heldParts.find(key);
        if (known == m_heldParts.end()) {
            auto file = scratchBeside(m_destination, "part");
            if (!file)
                return std::unexpected(file.error());
            AVFormatContext* format = edit.source->format();
            if (!format)
                return std::unexpected(Error{AVERROR_INVALIDDATA, "the file cannot be read"});
            transcode::Segment segment;
            segment.file = edit.source->path();
            segment.videoStream = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
            segment.soundStream = av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
            transcode::Request request;
            if (segment.videoStream >= 0) {
                const Size size = edit.source->displaySize(segment.videoStream);
                request.width = static_cast<int>(std::lround(size.width));
                request.height = static_cast<int>(std::lround(size.height));
            }
            segment.sourceRange = edit.sourceRange;
            segment.duration = edit.sourceRange.duration; // the movie fits it to the edit's place
            if (picture) {
                // Its one frame, shown for as long as the movie shows it.
                segment.isPicture = true;
                segment.soundStream = -1;
                segment.duration = edit.duration;
            }
            request.segments.push_back(segment);
            request.settings.container = "mov";
            request.progress = [this](double fraction) { return prepared(fraction); };
            std::vector<int> streams;
            for (const int stream : {segment.videoStream, segment.soundStream})
                if (stream >= 0)
                    streams.push_back(stream);
            std::expected<void, Error> written = std::unexpected(Error{ENOTSUP, "not copied"});
            if (!picture && coversStream(edit) && transcode::quickTimeCanCarry(segment.file, streams))
                written =
                    transcode::copyStreamsToQuickTime(segment.file, streams, file->path(), request.progress);
            // What QuickTime turns down after all (VP9 is MPEG-4 only) is encoded again; a
            // transcoded part is written under its own name and renamed over the scratch file we hold.
            if (!written && written.error().code != ECANCELED)
                written = transcode::transcodeJoin(file->path(), request);
            if (!written)
                return std::unexpected(written.error());
            const auto number =
                addScratchSource(std::move(*file), plan, "the part copied into the movie cannot be read back");
            if (!number)
                return std::unexpected(number.error());
            known = m_heldParts.emplace(key, *number).first;
        }
        const quicktime::SourceIndex& index =
            *plan.request.sources[static_cast<std::size_t>(known->second)].index;
        const quicktime::Handler wanted =
            track.mediaType == MediaType::Video ? quicktime::Handler::Video : quicktime::Handler::Sound;
        for (std::uint32_t t = 0; t < index.tracks.size(); ++t)
            if (index.tracks[t].handler == wanted)
                return std::pair{known->second, t};
        return std::unexpected(Error{EBADMSG, "a part copied into the movie lacks a track it should have"});
    }

    std::expected<std::optional<quicktime::OutputTrack>, Error> planTrack(const Track& track,
                                                                          LosslessPlan& plan) {
        const Edit* first = nullptr; // the track's first source, whose codec parameters the others share
        std::optional<quicktime::OutputTrack> output;
        Time editStart = zeroTime();
        std::int64_t written = 0; // movie units placed so far in this track
        std::int64_t pendingGap = 0;
        for (const Edit& edit : track.edits) {
            const Time editEnd = addTimes(editStart, edit.duration);
            const std::int64_t span = unitsOf(editEnd, m_scale) - written;
            editStart = editEnd;
            // A sliver left by splitting an edit between time scales shows no sample: a gap.
            if (!edit.source || compareTimes(edit.sourceRange.duration, zeroTime()) <= 0) {
                if (output && span > 0)
                    output->segments.push_back(quicktime::Segment::empty(span));
                else if (span > 0)
                    pendingGap += span; // before the track's first samples
                written += std::max<std::int64_t>(span, 0);
                continue;
            }
            // A referring movie gives each source tracks of its own, so only
            // a self-contained one needs every part of a track alike.
            if (m_placement == WritePlacement::SelfContained) {
                if (first &&
                    !sameCodecParameters(*first->source, first->streamIndex, *edit.source, edit.streamIndex))
                    return std::nullopt;
                first = first ? first : &edit;
            }
            auto placed = sourceFor(track, edit, plan);
            if (!placed)
                return std::unexpected(placed.error());
            if (!*placed)
                return std::nullopt;
            const auto [source, trackNumber] = **placed;
            const quicktime::SourceIndex& index =
                *plan.request.sources[static_cast<std::size_t>(source)].index;
            if (trackNumber >= index.tracks.size() ||
                (index.tracks[trackNumber].handler == quicktime::Handler::Video) !=
                    (track.mediaType == MediaType::Video))
                return std::nullopt; // FFmpeg's streams do not line up with the file's tracks
            if (!output) {
                output = quicktime::outputTrackLike(index.tracks[trackNumber]);
                if (pendingGap > 0)
                    output->segments.push_back(quicktime::Segment::empty(pendingGap));
            } else if (output->mediaTimeScale < index.tracks[trackNumber].mediaTimeScale &&
                       index.tracks[trackNumber].handler == quicktime::Handler::Video) {
                output->mediaTimeScale =
                    index.tracks[trackNumber].mediaTimeScale; // keep a retimed track's finer scale
            }
            // The source's own edit list, fitted to the edit's place in this
            // movie: a tiny shortfall becomes a gap, an excess is trimmed.
            std::int64_t remaining = span;
            bool started = false;
            for (quicktime::Segment segment :
                 quicktime::segmentsForTrack(index, trackNumber, source, m_scale)) {
                if (remaining <= 0)
                    break;
                // The source's own lead-in (a reference movie places each file
                // so) is where its stream starts, which the movie's edits place.
                if (!started && segment.isEmpty())
                    continue;
                started = true;
                segment.duration = std::min(segment.duration, remaining);
                remaining -= segment.duration;
                output->segments.push_back(segment);
            }
            if (remaining > 0)
                output->segments.push_back(quicktime::Segment::empty(remaining));
            written += span;
        }
        return output;
    }

    const std::vector<Track>& m_tracks;
    std::int32_t m_scale;
    WritePlacement m_placement;
    std::filesystem::path m_destination;
    const std::function<bool(double)>& m_progress;
    int m_preparations = 0;
    int m_done = 0;
    std::map<std::tuple<const SourceFile*, std::string, std::int64_t, std::int64_t>, std::int32_t> m_sources;
    std::map<const SourceFile*, std::shared_ptr<const quicktime::SourceIndex>> m_indexes;
    std::map<HeldPart, std::int32_t> m_heldParts;
};

} // namespace

bool needsPreparation(const std::vector<Track>& tracks, WritePlacement placement) {
    for (const Track& track : tracks)
        for (const Edit& edit : track.edits)
            if (preparationOf(track, edit, placement) != Preparation::None)
                return true;
    return false;
}

std::expected<std::optional<LosslessPlan>, Error>
planLosslessWrite(const std::vector<Track>& tracks, std::int32_t movieTimeScale, WritePlacement placement,
                  const std::filesystem::path& destination, const std::function<bool(double)>& progress) {
    return Planner(tracks, movieTimeScale, placement, destination, progress).plan();
}

} // namespace media
