#include "media/transcode/JoinPlan.h"

#include "media/detail/SourceFile.h"
#include "media/transcode/VideoTiming.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <map>
#include <numeric>

namespace media::transcode {

namespace {

// QuickTime's classic scale divides 24, 25, 30, 50 and 60 fps frame times.
constexpr std::int64_t kBaseVideoScale = 600;
// Beyond this the sources' scales have nothing in common worth keeping exactly.
constexpr std::int64_t kMaxVideoScale = 1 << 24;
constexpr int kFallbackVideoScale = 90000;
constexpr int kMaxDimension = 16384;
constexpr int kMaxChannels = 2;

Error fileError(const std::filesystem::path& file, int code, const std::string& what) {
    return Error{code, "\"" + file.string() + "\": " + what};
}

bool isPositive(const Time& time) {
    return !isIndefinite(time) && time.scale > 0 && time.value > 0;
}

// What the plan needs to know of one source file.
struct SourceFacts final {
    std::map<int, std::int32_t> videoScales;
    std::map<int, AVRational> frameRates;
    std::map<int, int> sampleRates;
    std::map<int, int> channels;
};

std::expected<SourceFacts, Error> readFacts(const Segment& segment) {
    auto opened = SourceFile::open(segment.file, SourceFile::Depth::StreamInfo);
    if (!opened)
        return std::unexpected(fileError(segment.file, opened.error().code, opened.error().message));
    const SourceFile& source = **opened;
    AVFormatContext* format = source.format();
    const auto streamCount = static_cast<int>(format->nb_streams);
    SourceFacts facts;
    if (segment.videoStream >= 0) {
        if (segment.videoStream >= streamCount || source.mediaType(segment.videoStream) != MediaType::Video)
            return std::unexpected(fileError(
                segment.file, EINVAL, "stream " + std::to_string(segment.videoStream) + " is not video"));
        AVStream* stream = format->streams[segment.videoStream];
        facts.videoScales[segment.videoStream] = source.streamTimeScale(segment.videoStream);
        facts.frameRates[segment.videoStream] = av_guess_frame_rate(format, stream, nullptr);
    }
    if (segment.soundStream >= 0) {
        if (segment.soundStream >= streamCount || source.mediaType(segment.soundStream) != MediaType::Sound)
            return std::unexpected(fileError(
                segment.file, EINVAL, "stream " + std::to_string(segment.soundStream) + " is not sound"));
        const AVCodecParameters* parameters = format->streams[segment.soundStream]->codecpar;
        facts.sampleRates[segment.soundStream] = parameters->sample_rate;
        facts.channels[segment.soundStream] = parameters->ch_layout.nb_channels;
    }
    return facts;
}

std::optional<Error> checkSegment(const Segment& segment, std::size_t index) {
    const std::string which = "segment " + std::to_string(index + 1);
    if (!isPositive(segment.duration))
        return Error{EINVAL, which + " has no duration"};
    if ((segment.videoStream >= 0 || segment.soundStream >= 0) && segment.file.empty())
        return Error{EINVAL, which + " names streams but no file"};
    // Times beyond a few centuries come from damaged edits, not from any file.
    constexpr double kLongestSource = 1e10;
    if (!segment.isPicture && (segment.videoStream >= 0 || segment.soundStream >= 0) &&
        !(std::abs(seconds(segment.sourceRange.start)) < kLongestSource &&
          std::abs(seconds(segment.sourceRange.duration)) < kLongestSource))
        return fileError(segment.file, EINVAL, which + " lies outside its source");
    return std::nullopt;
}

std::optional<Error> checkChapters(const Request& request, const Time& duration) {
    Time previous = zeroTime();
    for (const Chapter& chapter : request.chapters) {
        if (isIndefinite(chapter.start) || compareTimes(chapter.start, previous) < 0 ||
            compareTimes(chapter.start, duration) >= 0)
            return Error{EINVAL, "chapter \"" + chapter.title +
                                     "\" does not start within the movie, after the one before"};
        previous = chapter.start;
    }
    return std::nullopt;
}

std::int64_t leastCommonMultiple(std::int64_t a, std::int64_t b) {
    if (a > kMaxVideoScale || b > kMaxVideoScale)
        return kMaxVideoScale + 1;
    return std::lcm(a, b);
}

// Moves every join point to the nearest frame time of the output's rate, so
// each source's first frame starts on that grid: the frame shown before it
// is then never a sliver of the one it ends, and the sound, placed at the
// same point, moves with it. A stretch shorter than half a frame collapses
// to nothing; the movie's end stays where it is. A chapter that starts at a
// join point moves with it.
void placeJoinPointsOnFrameGrid(JoinPlan& plan) {
    const AVRational rate = plan.frameRate;
    if (rate.num <= 0 || rate.den <= 0)
        return;
    Time previous = zeroTime();
    for (std::size_t i = 1; i < plan.placements.size(); ++i) {
        const Time exact = plan.placements[i].start;
        const std::int64_t frames = av_rescale_rnd(
            exact.value, rate.num, static_cast<std::int64_t>(exact.scale) * rate.den, AV_ROUND_NEAR_INF);
        Time onGrid = makeTime(frames * rate.den, rate.num);
        if (compareTimes(onGrid, previous) < 0)
            onGrid = previous;
        if (compareTimes(onGrid, plan.duration) > 0)
            onGrid = plan.duration;
        plan.placements[i - 1].end = onGrid;
        plan.placements[i].start = onGrid;
        previous = onGrid;
        for (Chapter& chapter : plan.chapters)
            if (compareTimes(chapter.start, exact) == 0)
                chapter.start = onGrid;
    }
}

} // namespace

double segmentTempo(const Segment& segment) {
    constexpr double kUnscaledSeconds = 0.001;
    if (segment.isPicture || (segment.videoStream < 0 && segment.soundStream < 0) ||
        !isPositive(segment.sourceRange.duration) || !isPositive(segment.duration))
        return 1;
    const double source = seconds(segment.sourceRange.duration);
    const double shown = seconds(segment.duration);
    return std::abs(source - shown) < kUnscaledSeconds ? 1 : source / shown;
}

std::int64_t sampleAt(const Time& time, int sampleRate) {
    if (time.scale <= 0)
        return 0;
    return av_rescale_rnd(time.value, sampleRate, time.scale, AV_ROUND_NEAR_INF);
}

std::int64_t ticksAt(const Time& time, AVRational timeBase) {
    if (time.scale <= 0)
        return 0;
    return av_rescale_q_rnd(time.value, AVRational{1, time.scale}, timeBase, AV_ROUND_NEAR_INF);
}

std::expected<JoinPlan, Error> makeJoinPlan(const Request& request) {
    if (request.segments.empty())
        return std::unexpected(Error{EINVAL, "there is nothing to join"});
    if (request.width < 0 || request.height < 0 || request.width > kMaxDimension ||
        request.height > kMaxDimension || (request.width == 0) != (request.height == 0))
        return std::unexpected(Error{EINVAL, "the movie size " + std::to_string(request.width) + " x " +
                                                 std::to_string(request.height) + " cannot be made"});
    if (request.settings.sampleRate < 0 || request.settings.channels < 0 || request.settings.channels > 8)
        return std::unexpected(Error{EINVAL, "the sound settings cannot be made"});

    JoinPlan plan;
    plan.width = request.width;
    plan.height = request.height;
    plan.hasVideo = request.width > 0;

    std::int64_t videoScale = kBaseVideoScale;
    AVRational fastest{0, 1};
    int highestRate = 0;
    int mostChannels = 0;
    Time position = zeroTime();
    for (std::size_t i = 0; i < request.segments.size(); ++i) {
        const Segment& segment = request.segments[i];
        if (auto problem = checkSegment(segment, i))
            return std::unexpected(*problem);
        if (segment.videoStream >= 0 && !plan.hasVideo)
            return std::unexpected(Error{EINVAL, "a movie with video needs a size"});
        if (segment.videoStream >= 0 || segment.soundStream >= 0) {
            auto facts = readFacts(segment);
            if (!facts)
                return std::unexpected(facts.error());
            for (const auto& [stream, scale] : facts->videoScales)
                videoScale = leastCommonMultiple(videoScale, scale);
            // A segment played faster shows its frames faster.
            const double tempo = segmentTempo(segment);
            if (!segment.isPicture)
                for (auto [stream, rate] : facts->frameRates) {
                    if (tempo != 1 && rate.num > 0 && rate.den > 0)
                        rate = av_d2q(av_q2d(rate) * tempo, 1000000);
                    if (rate.num > 0 && rate.den > 0 && av_q2d(rate) <= 1000 && av_cmp_q(rate, fastest) > 0)
                        fastest = rate;
                }
            for (const auto& [stream, rate] : facts->sampleRates)
                highestRate = std::max(highestRate, rate);
            for (const auto& [stream, count] : facts->channels)
                mostChannels = std::max(mostChannels, count);
            plan.hasSound = plan.hasSound || segment.soundStream >= 0;
        }
        SegmentPlacement placement;
        placement.segment = &segment;
        placement.start = position;
        position = addTimes(position, segment.duration);
        if (isIndefinite(position))
            return std::unexpected(Error{EOVERFLOW, "the joined movie would be too long"});
        placement.end = position;
        plan.placements.push_back(placement);
    }
    plan.duration = position;
    if (!plan.hasVideo && !plan.hasSound)
        return std::unexpected(Error{EINVAL, "the segments hold neither video nor sound"});
    if (auto problem = checkChapters(request, plan.duration))
        return std::unexpected(*problem);
    plan.chapters = request.chapters;

    const AVRational sourceTimeBase{1, videoScale <= kMaxVideoScale ? static_cast<int>(videoScale)
                                                                    : kFallbackVideoScale};
    const VideoTiming timing =
        chooseVideoTiming(request.settings, sourceTimeBase, fastest.num > 0 ? fastest : plan.frameRate);
    plan.videoTimeBase = timing.timeBase;
    plan.frameRate = timing.frameRate;
    plan.constantFrameRate = timing.constantRate;
    if (plan.hasVideo)
        placeJoinPointsOnFrameGrid(plan);
    for (SegmentPlacement& placement : plan.placements) {
        placement.videoStart = ticksAt(placement.start, plan.videoTimeBase);
        placement.videoEnd = ticksAt(placement.end, plan.videoTimeBase);
    }
    plan.sampleRate = request.settings.sampleRate > 0 ? request.settings.sampleRate : highestRate;
    plan.channels =
        request.settings.channels > 0 ? request.settings.channels : std::min(mostChannels, kMaxChannels);
    if (plan.hasSound && (plan.sampleRate <= 0 || plan.channels <= 0))
        return std::unexpected(Error{EINVAL, "the sources do not tell their sample rate or channels"});
    return plan;
}

} // namespace media::transcode
