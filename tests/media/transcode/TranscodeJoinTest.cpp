// Joining movies that differ into one H.264/AAC movie, checked with ffprobe
// and ffmpeg as independent readers.

#include "media/transcode/TranscodeJoin.h"

#include "Ffprobe.h"
#include "JoinProbe.h"
#include "MovieSegment.h"
#include "MovieTiming.h"
#include "SharedClips.h"
#include "TestFolder.h"

#include <cerrno>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <tuple>

namespace {

using media::makeTime;
using media::transcode::Chapter;
using media::transcode::Request;
using media::transcode::Segment;
using media::transcode::transcodeJoin;
using testing_support::contentsOf;
using testing_support::namesIn;
using transcode_test::movieSegment;
using transcode_test::pictureAt;

constexpr int kWidth = 320;
constexpr int kHeight = 180;
constexpr int kSampleRate = 48000; // the highest among the sources

Request joinOf(std::vector<Segment> segments, int width = 0, int height = 0) {
    Request request;
    request.segments = std::move(segments);
    request.width = width;
    request.height = height;
    return request;
}

// One join of every kind of source, made once and examined by the tests below.
struct MixedJoin final {
    std::filesystem::path output;
    std::filesystem::path rotatedClip;
    std::vector<Segment> segments;
    std::vector<std::string> titles{"Small", "Other", "Rotated", "Picture", "Tone", "Silent", "Again"};
    std::vector<double> progress;
    // Where segment i starts: the sum of the durations before it.
    media::Time start(std::size_t i) const {
        media::Time sum = media::zeroTime();
        for (std::size_t k = 0; k < i; ++k)
            sum = media::addTimes(sum, segments[k].duration);
        return sum;
    }
    double startSeconds(std::size_t i) const { return media::seconds(start(i)); }
    // Where segment i starts in the movie: its start moved to the nearest
    // frame time of the output's rate (the fastest clip's, 30000/1001), the
    // later one when halfway.
    double joinSeconds(std::size_t i) const {
        const double rate = 30000.0 / 1001;
        return std::floor(startSeconds(i) * rate + 0.5) / rate;
    }
    double totalSeconds() const { return startSeconds(segments.size()); }
};

MixedJoin makeMixedJoin() {
    using fixtures::test::sharedClip;
    const auto dir = fixtures::test::scratchFolder("mixed");
    MixedJoin joined;
    joined.rotatedClip = sharedClip("rotated.mp4", {.rotationDegrees = 90});
    const auto small = fixtures::test::h264AacClip("mp4", 25); // 160x120, 25 fps, 44.1 kHz, 1 s
    joined.segments = {
        movieSegment(small),
        movieSegment(sharedClip("other.mp4", {.width = 320,
                                              .height = 180,
                                              .fpsNum = 30000,
                                              .fpsDen = 1001,
                                              .frames = 30,
                                              .sampleRate = 48000})),
        movieSegment(joined.rotatedClip),
        movieSegment(fixtures::makePicture(dir, "picture.png", 160, 120), makeTime(2, 1)),
        movieSegment(fixtures::makeSound(dir, "tone.wav", 44100, 2, 0.5)),
        movieSegment(sharedClip("video-only.mp4", {.audioCodec = ""})),
        movieSegment(small),
    };
    Request request = joinOf(joined.segments, kWidth, kHeight);
    for (std::size_t i = 0; i < joined.segments.size(); ++i)
        request.chapters.push_back(Chapter{joined.titles[i], joined.start(i)});
    request.progress = [&joined](double fraction) {
        joined.progress.push_back(fraction);
        return true;
    };
    joined.output = dir / "joined.mov";
    if (auto written = transcodeJoin(joined.output, request); !written)
        throw std::runtime_error(written.error().message);
    return joined;
}

const MixedJoin& mixed() {
    static const MixedJoin joined = makeMixedJoin();
    return joined;
}

TEST(MixedJoinTest, HasOneH264AndOneAacTrackAtTheRequestedSizeLastingTheSegments) {
    const MixedJoin& joined = mixed();
    const double frame = 1.0 / 25;
    EXPECT_NEAR(oracle::formatDuration(joined.output), joined.totalSeconds(), frame);
    for (const auto& stream : oracle::probeStreams(joined.output))
        EXPECT_NEAR(stream.duration, joined.totalSeconds(), frame) << stream.codecType;
    const auto videos = oracle::probeStreams(joined.output, "video");
    const auto sounds = oracle::probeStreams(joined.output, "audio");
    ASSERT_TRUE(videos.size() == 1 && sounds.size() == 1);
    const auto &video = videos[0], &sound = sounds[0];
    EXPECT_EQ(std::tie(video.codecName, video.width, video.height), std::tuple("h264", kWidth, kHeight));
    EXPECT_EQ(std::tie(sound.codecName, sound.sampleRate, sound.channels), std::tuple("aac", kSampleRate, 2));
    EXPECT_NEAR(sound.durationUnits, std::round(joined.totalSeconds() * kSampleRate), 1024);
}

// Each segment starts at its join point with a key frame, clips keep all
// their frames at their own rate, and stills are held.
TEST(MixedJoinTest, EachSegmentStartsAtItsJoinPointAsAKeyFrameKeepingItsFrames) {
    const MixedJoin& joined = mixed();
    const auto frames = transcode_test::videoFrameTimes(joined.output);
    ASSERT_FALSE(frames.empty());
    EXPECT_DOUBLE_EQ(frames.front().seconds, 0.0);
    std::vector<int> perSegment(joined.segments.size());
    for (std::size_t i = 0; i < joined.segments.size(); ++i) {
        const double joinPoint = joined.joinSeconds(i);
        const auto first =
            std::ranges::find_if(frames, [&](const auto& f) { return f.seconds > joinPoint - 0.0005; });
        ASSERT_NE(first, frames.end()) << "segment " << i;
        EXPECT_NEAR(first->seconds, joinPoint, 0.0005) << "segment " << i;
        EXPECT_TRUE(first->isKey) << "segment " << i;
        perSegment[i] = static_cast<int>(std::ranges::count_if(frames, [&](const auto& f) {
            return f.seconds > joinPoint - 0.0005 && f.seconds < joined.joinSeconds(i + 1) - 0.0005;
        }));
    }
    // The 2 s picture is shown again after a second, the half-second of sound shows one black frame.
    EXPECT_EQ(perSegment, (std::vector<int>{25, 30, 25, 2, 1, 25, 25}));
    // The NTSC-rate clip keeps its 1001/30000 s frame spacing.
    const auto firstOther = std::ranges::find_if(frames, [](const auto& f) { return f.seconds > 0.9995; });
    ASSERT_TRUE(firstOther + 1 < frames.end());
    EXPECT_NEAR((firstOther + 1)->seconds - firstOther->seconds, 1001.0 / 30000, 0.00002);
}

// Silent segments (the picture, the video-only clip) sit between sounding
// ones: the silences must begin and end at the join points, to well within one
// AAC frame, so no source's encoder priming or the output's own shifts the sound.
TEST(MixedJoinTest, SoundChangesExactlyAtTheJoinPoints) {
    const MixedJoin& joined = mixed();
    const auto found = transcode_test::silences(joined.output);
    ASSERT_EQ(found.size(), 2u);
    const double tolerance = 1024.0 / kSampleRate / 4;
    EXPECT_NEAR(found[0].start, joined.joinSeconds(3), tolerance);
    EXPECT_NEAR(found[0].end, joined.joinSeconds(4), tolerance);
    EXPECT_NEAR(found[1].start, joined.joinSeconds(5), tolerance);
    EXPECT_NEAR(found[1].end, joined.joinSeconds(6), tolerance);
}

TEST(MixedJoinTest, FramesAreFittedCentredAndUpright) {
    const MixedJoin& joined = mixed();
    const auto at = [&](double seconds) { return pictureAt(joined.output, seconds, kWidth, kHeight); };
    // 4:3 in 16:9: black bars at the sides, the picture between.
    const auto small = at(0.5);
    EXPECT_LE(small.maximum(0, 0, 36, kHeight), 24);
    EXPECT_LE(small.maximum(kWidth - 36, 0, 36, kHeight), 24);
    EXPECT_GT(small.mean(60, 20, 200, 140), 40);
    // 16:9 fills the frame, and starts with its own first frame.
    const auto other = at(joined.joinSeconds(1));
    EXPECT_GT(other.mean(0, 20, 8, 140), 40);
    EXPECT_EQ(transcode_test::patternNumber(other, 0, 10), 0);
    // The picture is held, pillarboxed; a sound file shows black.
    const auto picture = at(joined.joinSeconds(3) + 1.5);
    EXPECT_LE(picture.maximum(0, 0, 36, kHeight), 24);
    EXPECT_GT(picture.mean(60, 20, 200, 140), 40);
    EXPECT_LE(at(joined.joinSeconds(4) + 0.25).maximum(0, 0, kWidth, kHeight), 24);
    // The last clip starts again from its first frame.
    EXPECT_EQ(transcode_test::patternNumber(at(joined.joinSeconds(6)), 40, 7.5), 0);
    // ffmpeg turns the rotated clip upright by itself; compare the middle of both.
    const int fittedWidth = 134;
    const auto ours = at(joined.joinSeconds(2));
    const auto difference = [&](const std::string& filter) {
        const auto reference = pictureAt(joined.rotatedClip, 0, fittedWidth, kHeight, filter);
        double sum = 0;
        for (int y = 20; y < 160; ++y)
            for (int x = 20; x < 114; ++x)
                sum += std::abs(ours.at(x + (kWidth - fittedWidth) / 2, y) - reference.at(x, y));
        return sum / (140 * 94);
    };
    EXPECT_LT(difference(""), 8);
    EXPECT_GT(difference("hflip,vflip"), 3 * difference(""));
    EXPECT_LE(ours.maximum(0, 0, 80, kHeight), 24) << "the bars beside the turned picture are black";
}

TEST(MixedJoinTest, ChaptersStartAtTheSegmentsWithTheirTitlesAndProgressIsReportedOften) {
    const MixedJoin& joined = mixed();
    const auto found = oracle::probeChapterList(joined.output);
    ASSERT_EQ(found.size(), joined.titles.size());
    for (std::size_t i = 0; i < found.size(); ++i) {
        EXPECT_EQ(found[i].title, joined.titles[i]);
        EXPECT_NEAR(found[i].start, joined.joinSeconds(i), 0.001);
    }
    // Every quarter second of output, rising to 1.
    const auto& progress = joined.progress;
    ASSERT_GE(progress.size(), 2u);
    EXPECT_EQ(progress.front(), 0.0);
    EXPECT_EQ(progress.back(), 1.0);
    for (std::size_t i = 1; i < progress.size(); ++i) {
        EXPECT_GE(progress[i], progress[i - 1]);
        // A frame of the 25 fps clips lasts up to two frames of the output's rate.
        EXPECT_LE(progress[i] - progress[i - 1], (0.25 + 0.07) / joined.totalSeconds()) << progress[i - 1];
    }
}

// Smaller joins, each made for one rule.
class TranscodeJoinTest : public ::testing::Test {
protected:
    static Request twoClips() {
        const auto clip = fixtures::test::h264AacClip("mp4", 10);
        return joinOf({movieSegment(clip), movieSegment(clip)}, 160, 120);
    }
    testing_support::TestFolder m_out;
};

TEST_F(TranscodeJoinTest, AnExistingDestinationIsReplacedOnlyByACompleteJoin) {
    const auto destination = m_out.write("joined.mov", "an earlier movie");
    Request request = twoClips();
    int callsAfterCancel = 0;
    bool cancelled = false;
    request.progress = [&](double fraction) {
        callsAfterCancel += cancelled ? 1 : 0;
        cancelled = cancelled || fraction >= 0.3;
        return !cancelled;
    };
    auto joined = transcodeJoin(destination, request);
    ASSERT_FALSE(joined.has_value());
    EXPECT_EQ(joined.error().code, ECANCELED);
    EXPECT_EQ(callsAfterCancel, 0);
    EXPECT_EQ(contentsOf(destination), "an earlier movie");
    EXPECT_EQ(namesIn(m_out.path()), std::vector<std::string>{"joined.mov"});
    ASSERT_TRUE(transcodeJoin(destination, twoClips()).has_value());
    EXPECT_NEAR(oracle::formatDuration(destination), 0.8, 0.04);
    EXPECT_EQ(namesIn(m_out.path()), std::vector<std::string>{"joined.mov"});
}

TEST_F(TranscodeJoinTest, RefusesWhatItCannotReadOrMakeAndLeavesNothing) {
    const auto broken =
        m_out.write("sources/broken.mp4", "this is not a movie at all, just some words in a file");
    const Segment unreadable{broken, 0, -1, media::makeTimeRange(makeTime(0, 1), makeTime(1, 1)),
                             makeTime(1, 1)};
    // Each change of two clips' join, and what the refusal names ("": anything).
    const std::pair<std::function<void(Request&)>, std::string> cases[] = {
        {[&](Request& r) { r.segments.insert(r.segments.begin() + 1, unreadable); }, broken.string()},
        {[&](Request& r) { (r.segments[1] = unreadable).file = m_out / "missing.mp4"; }, "missing.mp4"},
        {[](Request& r) { r.settings.videoOptions["no-such-option"] = "1"; }, "no-such-option"},
        {[](Request& r) { r.settings.container = "no-such-container"; }, ""},
        {[](Request& r) { r.width = r.height = 0; }, ""},
        {[](Request& r) {
             r.chapters = {Chapter{"Late", makeTime(10, 1)}};
         },
         ""}};
    for (const auto& [change, named] : cases) {
        Request request = twoClips();
        change(request);
        const auto joined = transcodeJoin(m_out / "joined.mov", request);
        ASSERT_FALSE(joined.has_value()) << named;
        EXPECT_NE(joined.error().message.find(named), std::string::npos) << joined.error().message;
    }
    EXPECT_EQ(namesIn(m_out.path()), std::vector<std::string>{"sources"});
}

// A segment played at half speed: its frames twice as far apart, its sound
// stretched (not padded with silence) to the end, the next segment on time.
TEST_F(TranscodeJoinTest, ScaledSegmentsAreRetimedAndTheirSoundStretched) {
    Request request = twoClips();
    request.segments[0].duration = makeTime(4, 5);
    const auto destination = m_out / "scaled.mov";
    ASSERT_TRUE(transcodeJoin(destination, request).has_value());
    EXPECT_NEAR(oracle::formatDuration(destination), 1.2, 0.03);
    const auto frames = transcode_test::videoFrameTimes(destination);
    ASSERT_EQ(frames.size(), 20u);
    EXPECT_NEAR(frames[1].seconds - frames[0].seconds, 0.08, 0.001);
    EXPECT_NEAR(frames[10].seconds, 0.8, 0.001);
    EXPECT_TRUE(frames[10].isKey);
    EXPECT_TRUE(transcode_test::silences(destination).empty());
}

// A range inside a clip starts with the frame showing at its start, found by
// seeking when the range starts late in the file, by reading otherwise.
TEST_F(TranscodeJoinTest, RangesStartWithTheFrameShowingAtTheirStart) {
    Segment early = movieSegment(fixtures::test::h264AacClip("mp4", 60)); // 2.4 s
    early.sourceRange = media::makeTimeRange(makeTime(400, 1000), makeTime(400, 1000));
    early.duration = early.sourceRange.duration;
    Segment late = early;
    late.sourceRange = media::makeTimeRange(makeTime(1200, 1000), makeTime(800, 1000));
    late.duration = late.sourceRange.duration;
    const auto destination = m_out / "ranges.mov";
    ASSERT_TRUE(transcodeJoin(destination, joinOf({early, late}, 160, 120)).has_value());
    EXPECT_EQ(transcode_test::patternNumber(pictureAt(destination, 0, 160, 120), 0, 5), 10);
    EXPECT_EQ(transcode_test::patternNumber(pictureAt(destination, 0.4, 160, 120), 0, 5), 30);
    EXPECT_EQ(transcode_test::videoFrameTimes(destination).size(), 30u);
    EXPECT_NEAR(oracle::formatDuration(destination), 1.2, 0.001);
    EXPECT_NEAR(oracle::probeStreams(destination, "audio").at(0).durationUnits, 1.2 * 44100, 1024);
}

TEST_F(TranscodeJoinTest, SoundFilesAloneMakeASoundOnlyMovie) {
    Request request = joinOf({movieSegment(fixtures::makeSound(m_out.path(), "low.wav", 22050, 1, 0.5)),
                              movieSegment(fixtures::makeSound(m_out.path(), "high.wav", 44100, 2, 0.5))});
    request.settings.container = "ipod";
    const auto destination = m_out / "sound.m4a";
    ASSERT_TRUE(transcodeJoin(destination, request).has_value());
    const auto streams = oracle::probeStreams(destination);
    ASSERT_EQ(streams.size(), 1u);
    EXPECT_EQ(std::tie(streams[0].codecName, streams[0].sampleRate, streams[0].channels),
              std::tuple("aac", 44100, 2));
    EXPECT_NEAR(streams[0].duration, 1.0, 0.001);
}

// (Chapters in other containers: ExportComponentTest, through every component.)
TEST_F(TranscodeJoinTest, OddSizesBecomeEven) {
    Request request = twoClips();
    request.width = 161;
    request.height = 121;
    ASSERT_TRUE(transcodeJoin(m_out / "joined.mov", request).has_value());
    const auto video = oracle::probeStreams(m_out / "joined.mov", "video").at(0);
    EXPECT_EQ(std::tie(video.width, video.height), std::tuple(162, 122));
}

} // namespace
