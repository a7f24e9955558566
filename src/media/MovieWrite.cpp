// Writing a movie: losslessly through our QuickTime writer when every track's
// sources allow it, otherwise re-encoded through the transcoding writer.
//
// Lossless (samples copied or referred to) when all of these hold:
// - the destination is a QuickTime or MPEG-4 file (any name but .mkv);
// - every source of a video or sound track is a QuickTime/MPEG-4 file whose
//   sample index we can read, and each edit shows a whole stream;
// - self-contained, within a track every source stream has the same codec
//   parameters (codec, profile, size, pixel format; sample rate, channels).
// A scaled edit (one whose duration differs from its source range's) is
// written with new timing, since players ignore media rates: its video
// keeps its samples, whose durations and composition offsets the sample
// tables scale (see quicktime/RetimedIndex.h); its sound is time-stretched
// with its pitch kept and encoded again (AAC) into a temporary file beside
// the destination, whose samples the new file holds. See detail/LosslessPlan.
//
// A movie that refers to its sources points into the QuickTime/MPEG-4 ones
// and holds the rest itself: the range of a source we cannot point into
// (Matroska, AVI, MPEG-TS, sound files...) goes into a temporary QuickTime
// file beside the destination, its packets copied as they are when the edit
// shows whole streams that QuickTime can carry, else re-encoded (H.264 +
// AAC); the new movie holds that file's samples, each such part on tracks
// of its own, while the other parts stay references. A still picture is
// held the same way, encoded (H.264) for as long as the movie shows it.
//
// Otherwise the movie is decoded and encoded again (H.264 + AAC in .mov/.mp4,
// or what the container takes), which can only be self-contained.

#include "media/Movie.h"

#include "media/detail/ExportEncoding.h"
#include "media/detail/FFmpeg.h"
#include "media/detail/LosslessPlan.h"
#include "media/detail/SourceFile.h"
#include "media/quicktime/QuickTimeFileWriter.h"
#include "media/transcode/TranscodeJoin.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <string_view>

namespace media {

namespace {

struct Destination final {
    std::optional<quicktime::OutputKind> quickTimeKind; // none: our QuickTime writer cannot write it
    std::string container;                              // FFmpeg's muxer for re-encoding
};

// The format of a written movie follows its extension: MPEG-4 for .mp4 and
// .m4v, Matroska for .mkv, and QuickTime, the application's own format, for
// every other name (a name without an extension gets one afterwards).
Destination destinationFor(const std::filesystem::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".mp4" || extension == ".m4v")
        return Destination{quicktime::OutputKind::Mpeg4, "mp4"};
    if (extension == ".mkv")
        return Destination{std::nullopt, "matroska"};
    return Destination{quicktime::OutputKind::QuickTime, "mov"};
}

// A time in `scale` units, rounded, for placing boundaries without drift.
std::int64_t unitsOf(const Time& time, std::int32_t scale) {
    return convertScale(time, scale).value;
}

// Chapter boundaries in movie units, rounded from their exact times.
std::vector<quicktime::Chapter> quickTimeChapters(const std::vector<ChapterMark>& marks, std::int32_t scale) {
    std::vector<quicktime::Chapter> chapters;
    Time end = zeroTime();
    std::int64_t placed = 0;
    for (const ChapterMark& mark : marks) {
        end = addTimes(end, mark.duration);
        const std::int64_t boundary = unitsOf(end, scale);
        chapters.push_back({mark.title.toStdString(), boundary - placed});
        placed = boundary;
    }
    return chapters;
}

// The movie as a list of stretches, each showing one source file (or nothing):
// the re-encoding writer's view of the first video and first sound track.
std::expected<std::vector<transcode::Segment>, Error> transcodeSegments(const Movie& movie) {
    const auto videoTracks = movie.tracksOfType(MediaType::Video);
    const auto soundTracks = movie.tracksOfType(MediaType::Sound);
    const Track* tracks[2] = {videoTracks.empty() ? nullptr : videoTracks[0],
                              soundTracks.empty() ? nullptr : soundTracks[0]};

    // Every boundary of either track, in one scale: adding times of the
    // tracks' many scales could need a finer one than a time can hold.
    const std::int32_t scale = movie.timeScale() > 0 ? movie.timeScale() : Movie::kDefaultTimeScale;
    const auto inMovieScale = [scale](long double secondsFromStart) {
        return makeTime(std::llround(secondsFromStart * scale), scale);
    };
    std::vector<Time> boundaries{zeroTime(), movie.duration()};
    for (const Track* track : tracks) {
        if (!track)
            continue;
        long double at = 0;
        for (const Edit& edit : track->edits)
            boundaries.push_back(inMovieScale(at += seconds(edit.duration)));
    }
    std::sort(boundaries.begin(), boundaries.end(), [](const Time& a, const Time& b) { return compareTimes(a, b) < 0; });
    boundaries.erase(std::unique(boundaries.begin(), boundaries.end(),
                                 [](const Time& a, const Time& b) { return compareTimes(a, b) == 0; }),
                     boundaries.end());

    // The edit of a track showing at `time`, with the time it starts.
    const auto editAt = [&inMovieScale](const Track* track, const Time& time) -> std::pair<const Edit*, Time> {
        if (!track)
            return {nullptr, zeroTime()};
        long double start = 0;
        for (const Edit& edit : track->edits) {
            const long double end = start + seconds(edit.duration);
            if (compareTimes(time, inMovieScale(start)) >= 0 && compareTimes(time, inMovieScale(end)) < 0)
                return {&edit, inMovieScale(start)};
            start = end;
        }
        return {nullptr, zeroTime()};
    };

    std::vector<transcode::Segment> segments;
    for (std::size_t i = 0; i + 1 < boundaries.size(); ++i) {
        const Time from = boundaries[i];
        const Time length = subtractTimes(boundaries[i + 1], from);
        if (compareTimes(length, zeroTime()) <= 0)
            continue;
        const auto [video, videoStart] = editAt(tracks[0], from);
        const auto [sound, soundStart] = editAt(tracks[1], from);
        const Edit* shown = video && video->source ? video : (sound && sound->source ? sound : nullptr);
        transcode::Segment segment;
        segment.duration = length;
        if (shown) {
            // Edits of the two tracks that end together may round a hair apart:
            // a sliver of under a millisecond keeps its picture and is silent.
            const bool sliver = seconds(length) < 0.001;
            const bool bothShown = video && video->source && sound && sound->source;
            if (bothShown && video->source != sound->source && !sliver)
                return std::unexpected(Error{EINVAL, "a stretch of the movie takes its picture and its sound "
                                                     "from different files, which cannot be re-encoded yet"});
            segment.file = shown->source->path();
            segment.isPicture = shown->source->isPicture();
            if (video && video->source)
                segment.videoStream = video->streamIndex;
            if (sound && sound->source && sound->source == shown->source)
                segment.soundStream = sound->streamIndex;
            // The stretch covers the same share of the edit's source range as of
            // the edit (a scaled edit plays its range in its own duration), counted
            // in the source's own scale: the movie's may be too fine to add in.
            const double offset = seconds(from) - seconds(shown == video ? videoStart : soundStart);
            const auto inSource = [shown](double part) {
                const Time& range = shown->sourceRange.duration;
                const double whole = seconds(shown->duration);
                const long double share = whole > 0 ? static_cast<long double>(part) / whole : 0;
                const long double units = share * range.value;
                // A source range whose length the file misstates plays at its own speed.
                if (!(std::fabs(units) < 1e18L) || range.scale <= 0)
                    return makeTime(std::llround(part * shown->sourceRange.start.scale), shown->sourceRange.start.scale);
                return makeTime(std::llround(units), range.scale);
            };
            segment.sourceRange =
                makeTimeRange(addTimes(shown->sourceRange.start, inSource(offset)), inSource(seconds(length)));
        }
        segments.push_back(std::move(segment));
    }
    return segments;
}

// The transcoding request for the movie, through a component when one is given.
std::expected<transcode::Request, Error> transcodeRequest(const Movie& movie, const Destination& target,
                                                          const WriteOptions& options) {
    auto segments = transcodeSegments(movie);
    if (!segments)
        return std::unexpected(segments.error());
    transcode::Request request;
    request.segments = std::move(*segments);
    request.width = static_cast<int>(std::lround(movie.naturalSize().width));
    request.height = static_cast<int>(std::lround(movie.naturalSize().height));
    request.settings.container = target.container;
    bool withChapters = true;
    if (options.component) {
        const ExportComponent& component = *options.component;
        const bool hasVideo = movie.hasTrackOfType(MediaType::Video) && request.width > 0;
        if (!component.writesSound && !hasVideo)
            return std::unexpected(Error{EINVAL, component.name + " holds only pictures and the movie has no video"});
        if (!component.writesVideo && !movie.hasTrackOfType(MediaType::Sound))
            return std::unexpected(Error{EINVAL, component.name + " holds only sound and the movie has none"});
        auto encoding = detail::exportEncoding(component, options.exportSettings, request.width, request.height);
        if (!encoding)
            return std::unexpected(encoding.error());
        request.settings = encoding->settings;
        request.width = encoding->width;
        request.height = encoding->height;
        // What the container cannot hold is left out; a stretch left with nothing is a gap.
        for (transcode::Segment& segment : request.segments) {
            if (!component.writesVideo)
                segment.videoStream = -1;
            if (!component.writesSound)
                segment.soundStream = -1;
            if (segment.videoStream < 0 && segment.soundStream < 0) {
                segment.file.clear();
                segment.isPicture = false;
            }
        }
        withChapters = component.hasChapters;
    }
    Time start = zeroTime();
    for (const ChapterMark& mark : options.chapters) {
        if (withChapters)
            request.chapters.push_back({mark.title.toStdString(), start});
        start = addTimes(start, mark.duration);
    }
    return request;
}

} // namespace

std::expected<void, Error> Movie::write(const std::filesystem::path& destination, const WriteOptions& options) const {
    const Destination target = destinationFor(destination);

    bool cancelled = false;
    const auto progress = [&](double fraction) {
        if (options.progress && !options.progress(1, fraction))
            cancelled = true;
        return !cancelled;
    };
    if (options.progress && !options.progress(0, 0))
        return std::unexpected(Error{ECANCELED, "the write was cancelled"});

    std::expected<void, Error> result;
    // Stretching sound or re-encoding parts comes first: give it half of the progress.
    const bool prepares = target.quickTimeKind && !options.component && needsPreparation(m_tracks, options.placement);
    const auto preparing = [&](double fraction) { return progress(fraction / 2); };
    std::optional<LosslessPlan> lossless;
    // A write through an export component always encodes with its settings.
    if (target.quickTimeKind && !options.component) {
        auto planned = planLosslessWrite(m_tracks, m_timeScale, options.placement, destination, preparing);
        if (!planned)
            return std::unexpected(planned.error());
        lossless = std::move(*planned);
    }
    if (lossless) {
        quicktime::WriteRequest& request = lossless->request;
        request.kind = *target.quickTimeKind;
        request.placement = options.placement == WritePlacement::Referring
                                ? quicktime::DataPlacement::Referring
                                : quicktime::DataPlacement::SelfContained;
        request.chapters = quickTimeChapters(options.chapters, m_timeScale);
        request.posterTime = convertScale(m_posterTime, request.movieTimeScale).value;
        request.progress = [&](double fraction) {
            return progress(prepares ? 0.5 + fraction / 2 : fraction);
        };
        result = quicktime::writeQuickTimeFile(destination, request);
    } else if (options.placement == WritePlacement::Referring) {
        return std::unexpected(Error{EINVAL, "a movie that refers to its sources needs QuickTime or MPEG-4 sources "
                                             "with matching codecs; write it self-contained instead"});
    } else {
        auto request = transcodeRequest(*this, target, options);
        if (!request)
            return std::unexpected(request.error());
        request->progress = progress;
        result = transcode::transcodeJoin(destination, *request);
    }
    if (result && options.progress)
        options.progress(2, 1);
    return result;
}

} // namespace media
