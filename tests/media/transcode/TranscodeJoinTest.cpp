// Joining movies that differ into one H.264/AAC movie, checked with ffprobe,
// ffmpeg and GStreamer as independent readers.

#include "media/transcode/TranscodeJoin.h"

#include "Ffprobe.h"
#include "FileContents.h"
#include "JoinProbe.h"
#include "MediaFixtures.h"
#include "MovieSegment.h"

#include <QJsonArray>
#include <QTemporaryDir>
#include <cerrno>
#include <cmath>
#include <fstream>
#include <gtest/gtest.h>

namespace {

using media::makeTime;
using media::Time;
using media::transcode::Chapter;
using media::transcode::Request;
using media::transcode::Segment;
using media::transcode::transcodeJoin;
using transcode_test::movieSegment;

constexpr int kWidth = 320;
constexpr int kHeight = 180;
constexpr int kSampleRate = 48000; // the highest among the sources
constexpr double kAacFrame = 1024.0 / kSampleRate;

std::vector<std::string> filesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

using testing_support::contentsOf;

// One join of every kind of source, made once and examined by the tests below.
class MixedJoinTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        fixtures::quietFfmpegLogs();
        s_dir = new QTemporaryDir();
        const std::filesystem::path dir = s_dir->path().toStdString();
        fixtures::ClipRecipe small; // 160x120, 25 fps, 44.1 kHz, 1 s
        fixtures::ClipRecipe other;
        other.width = 320;
        other.height = 180;
        other.fpsNum = 30000;
        other.fpsDen = 1001;
        other.frames = 30;
        other.sampleRate = 48000;
        fixtures::ClipRecipe rotated = small;
        rotated.rotationDegrees = 90;
        fixtures::ClipRecipe videoOnly = small;
        videoOnly.audioCodec.clear();

        s_rotatedClip = new std::filesystem::path(fixtures::makeClip(dir, "rotated.mp4", rotated));
        const auto smallClip = fixtures::makeClip(dir, "small.mp4", small);
        s_segments = new std::vector<Segment>{
            movieSegment(smallClip),
            movieSegment(fixtures::makeClip(dir, "other.mp4", other)),
            movieSegment(*s_rotatedClip),
            movieSegment(fixtures::makePicture(dir, "picture.png", 160, 120), makeTime(2, 1)),
            movieSegment(fixtures::makeSound(dir, "tone.wav", 44100, 2, 0.5)),
            movieSegment(fixtures::makeClip(dir, "video-only.mp4", videoOnly)),
            movieSegment(smallClip),
        };
        s_titles =
            new std::vector<std::string>{"Small", "Other", "Rotated", "Picture", "Tone", "Silent", "Again"};

        Request request;
        request.segments = *s_segments;
        request.width = kWidth;
        request.height = kHeight;
        for (std::size_t i = 0; i < s_segments->size(); ++i)
            request.chapters.push_back(Chapter{(*s_titles)[i], start(i)});
        s_progress = new std::vector<double>();
        request.progress = [](double fraction) {
            s_progress->push_back(fraction);
            return true;
        };
        s_output = new std::filesystem::path(dir / "joined.mov");
        auto joined = transcodeJoin(*s_output, request);
        ASSERT_TRUE(joined.has_value()) << joined.error().message;
    }
    static void TearDownTestSuite() {
        delete s_progress;
        delete s_titles;
        delete s_segments;
        delete s_rotatedClip;
        delete s_output;
        delete s_dir;
    }

    // Where segment i starts: the sum of the durations before it, in seconds.
    static Time start(std::size_t i) {
        Time sum = media::zeroTime();
        for (std::size_t k = 0; k < i; ++k)
            sum = media::addTimes(sum, (*s_segments)[k].duration);
        return sum;
    }
    static double startSeconds(std::size_t i) { return media::seconds(start(i)); }
    static double totalSeconds() { return startSeconds(s_segments->size()); }

    static QTemporaryDir* s_dir;
    static std::filesystem::path* s_output;
    static std::filesystem::path* s_rotatedClip;
    static std::vector<Segment>* s_segments;
    static std::vector<std::string>* s_titles;
    static std::vector<double>* s_progress;
};

QTemporaryDir* MixedJoinTest::s_dir = nullptr;
std::filesystem::path* MixedJoinTest::s_output = nullptr;
std::filesystem::path* MixedJoinTest::s_rotatedClip = nullptr;
std::vector<Segment>* MixedJoinTest::s_segments = nullptr;
std::vector<std::string>* MixedJoinTest::s_titles = nullptr;
std::vector<double>* MixedJoinTest::s_progress = nullptr;

TEST_F(MixedJoinTest, HasOneH264AndOneAacTrackAtTheRequestedSize) {
    const QJsonObject probed = oracle::probe(*s_output);
    int video = 0;
    int sound = 0;
    for (const QJsonValue& value : probed["streams"].toArray()) {
        const QJsonObject stream = value.toObject();
        if (stream["codec_type"].toString() == "video") {
            ++video;
            EXPECT_EQ(stream["codec_name"].toString(), "h264");
            EXPECT_EQ(stream["width"].toInt(), kWidth);
            EXPECT_EQ(stream["height"].toInt(), kHeight);
        } else if (stream["codec_type"].toString() == "audio") {
            ++sound;
            EXPECT_EQ(stream["codec_name"].toString(), "aac");
            EXPECT_EQ(stream["sample_rate"].toString(), std::to_string(kSampleRate).c_str());
            EXPECT_EQ(stream["channels"].toInt(), 2);
        }
    }
    EXPECT_EQ(video, 1);
    EXPECT_EQ(sound, 1);
}

TEST_F(MixedJoinTest, GStreamerReadsTheTracksAndDuration) {
    if (!transcode_test::programInstalled("gst-discoverer-1.0"))
        GTEST_SKIP() << "gst-discoverer-1.0 is not installed (scripts/setup installs it)";
    const std::string report = transcode_test::discover(*s_output);
    EXPECT_NE(report.find("H.264"), std::string::npos) << report;
    EXPECT_NE(report.find("MPEG-4 AAC"), std::string::npos) << report;
    EXPECT_NE(report.find("Duration: 0:00:07.50"), std::string::npos) << report;
}

TEST_F(MixedJoinTest, LastsTheSumOfTheSegmentsDurations) {
    const double frame = 1.0 / 25;
    EXPECT_NEAR(oracle::formatDuration(*s_output), totalSeconds(), frame);
    const QJsonObject probed = oracle::probe(*s_output);
    for (const QJsonValue& stream : probed["streams"].toArray())
        EXPECT_NEAR(stream["duration"].toString().toDouble(), totalSeconds(), frame)
            << stream["codec_type"].toString().toStdString();
}

TEST_F(MixedJoinTest, EachSegmentsFirstFrameStartsAtItsJoinPointAsAKeyFrame) {
    const auto frames = transcode_test::videoFrameTimes(*s_output);
    ASSERT_FALSE(frames.empty());
    EXPECT_DOUBLE_EQ(frames.front().seconds, 0.0);
    for (std::size_t i = 0; i < s_segments->size(); ++i) {
        const double joinPoint = startSeconds(i);
        const auto first = std::find_if(frames.begin(), frames.end(), [&](const auto& frame) {
            return frame.seconds > joinPoint - 0.0005;
        });
        ASSERT_NE(first, frames.end()) << "segment " << i;
        EXPECT_NEAR(first->seconds, joinPoint, 0.0005) << "segment " << i;
        EXPECT_TRUE(first->isKey) << "segment " << i;
    }
}

TEST_F(MixedJoinTest, KeepsEveryFrameAtItsOwnRateAndHoldsStills) {
    const auto frames = transcode_test::videoFrameTimes(*s_output);
    std::vector<int> perSegment(s_segments->size());
    for (const auto& frame : frames)
        for (std::size_t i = s_segments->size(); i-- > 0;)
            if (frame.seconds > startSeconds(i) - 0.0005) {
                ++perSegment[i];
                break;
            }
    // Clips keep all their frames; the 2 s picture is shown again after a
    // second, the half-second of sound shows one black frame.
    EXPECT_EQ(perSegment, (std::vector<int>{25, 30, 25, 2, 1, 25, 25}));
    // The NTSC-rate clip keeps its 1001/30000 s frame spacing.
    const auto firstOther =
        std::find_if(frames.begin(), frames.end(), [](const auto& frame) { return frame.seconds > 0.9995; });
    ASSERT_TRUE(firstOther + 1 < frames.end());
    EXPECT_NEAR((firstOther + 1)->seconds - firstOther->seconds, 1001.0 / 30000, 0.00002);
}

TEST_F(MixedJoinTest, SoundLastsAsLongAsTheSegments) {
    const QJsonObject probed = oracle::probe(*s_output);
    for (const QJsonValue& value : probed["streams"].toArray()) {
        const QJsonObject stream = value.toObject();
        if (stream["codec_type"].toString() != "audio")
            continue;
        const double samples = stream["duration_ts"].toDouble();
        EXPECT_NEAR(samples, std::round(totalSeconds() * kSampleRate), 1024);
    }
}

// Silent segments (the picture, the video-only clip) sit between sounding
// ones: the silences must begin and end at the join points, to well within one
// AAC frame, so no source's encoder priming or the output's own shifts the sound.
TEST_F(MixedJoinTest, SoundChangesExactlyAtTheJoinPoints) {
    const auto found = transcode_test::silences(*s_output);
    ASSERT_EQ(found.size(), 2u);
    const double tolerance = kAacFrame / 4;
    EXPECT_NEAR(found[0].start, startSeconds(3), tolerance);
    EXPECT_NEAR(found[0].end, startSeconds(4), tolerance);
    EXPECT_NEAR(found[1].start, startSeconds(5), tolerance);
    EXPECT_NEAR(found[1].end, startSeconds(6), tolerance);
}

TEST_F(MixedJoinTest, FramesAreFittedCentredAndUpright) {
    using transcode_test::pictureAt;
    // 4:3 in 16:9: black bars at the sides, the picture between.
    const auto small = pictureAt(*s_output, 0.5, kWidth, kHeight);
    EXPECT_LE(small.maximum(0, 0, 36, kHeight), 24);
    EXPECT_LE(small.maximum(kWidth - 36, 0, 36, kHeight), 24);
    EXPECT_GT(small.mean(60, 20, 200, 140), 40);
    // 16:9 fills the frame, and starts with its own first frame.
    const auto other = pictureAt(*s_output, startSeconds(1), kWidth, kHeight);
    EXPECT_GT(other.mean(0, 20, 8, 140), 40);
    EXPECT_EQ(transcode_test::patternNumber(other, 0, 10), 0);
    // The picture is held, pillarboxed.
    const auto picture = pictureAt(*s_output, startSeconds(3) + 1.5, kWidth, kHeight);
    EXPECT_LE(picture.maximum(0, 0, 36, kHeight), 24);
    EXPECT_GT(picture.mean(60, 20, 200, 140), 40);
    // A sound file shows black.
    const auto tone = pictureAt(*s_output, startSeconds(4) + 0.25, kWidth, kHeight);
    EXPECT_LE(tone.maximum(0, 0, kWidth, kHeight), 24);
    // The last clip starts again from its first frame.
    const auto again = pictureAt(*s_output, startSeconds(6), kWidth, kHeight);
    EXPECT_EQ(transcode_test::patternNumber(again, 40, 7.5), 0);
}

TEST_F(MixedJoinTest, RotatedFramesAreTurnedAsPlayersShowThem) {
    // ffmpeg turns the clip upright by itself; compare the middle of both.
    const int fittedWidth = 134;
    const auto ours = transcode_test::pictureAt(*s_output, startSeconds(2), kWidth, kHeight);
    const auto upright = transcode_test::pictureAt(*s_rotatedClip, 0, fittedWidth, kHeight);
    const auto upsideDown = transcode_test::pictureAt(*s_rotatedClip, 0, fittedWidth, kHeight, "hflip,vflip");
    const auto difference = [&](const transcode_test::GrayPicture& reference) {
        double sum = 0;
        for (int y = 20; y < 160; ++y)
            for (int x = 20; x < 114; ++x)
                sum += std::abs(ours.at(x + (kWidth - fittedWidth) / 2, y) - reference.at(x, y));
        return sum / (140 * 94);
    };
    EXPECT_LT(difference(upright), 8);
    EXPECT_GT(difference(upsideDown), 3 * difference(upright));
    // The bars beside the turned picture are black.
    EXPECT_LE(ours.maximum(0, 0, 80, kHeight), 24);
}

TEST_F(MixedJoinTest, ChaptersStartAtTheSegmentsWithTheirTitles) {
    const auto found = transcode_test::chapters(*s_output);
    ASSERT_EQ(found.size(), s_titles->size());
    for (std::size_t i = 0; i < found.size(); ++i) {
        EXPECT_EQ(found[i]["tags"].toObject()["title"].toString().toStdString(), (*s_titles)[i]);
        EXPECT_NEAR(found[i]["start_time"].toString().toDouble(), startSeconds(i), 0.001);
    }
}

TEST_F(MixedJoinTest, ReportsProgressEveryQuarterSecondOfOutput) {
    ASSERT_GE(s_progress->size(), 2u);
    EXPECT_EQ(s_progress->front(), 0.0);
    EXPECT_EQ(s_progress->back(), 1.0);
    const double step = (0.25 + 0.05) / totalSeconds();
    for (std::size_t i = 1; i < s_progress->size(); ++i) {
        EXPECT_GE((*s_progress)[i], (*s_progress)[i - 1]);
        EXPECT_LE((*s_progress)[i] - (*s_progress)[i - 1], step) << "after " << (*s_progress)[i - 1];
    }
}

// Smaller joins, each made for one rule.
class TranscodeJoinTest : public ::testing::Test {
protected:
    void SetUp() override {
        fixtures::quietFfmpegLogs();
        m_sources = std::filesystem::path(m_sourceDir.path().toStdString());
        m_out = std::filesystem::path(m_outDir.path().toStdString());
    }

    std::filesystem::path clip(const std::string& name, int frames = 25) {
        fixtures::ClipRecipe recipe;
        recipe.frames = frames;
        return fixtures::makeClip(m_sources, name, recipe);
    }

    Request twoClips() {
        Request request;
        request.segments = {movieSegment(clip("a.mp4", 10)), movieSegment(clip("b.mp4", 10))};
        request.width = 160;
        request.height = 120;
        return request;
    }

    QTemporaryDir m_sourceDir;
    QTemporaryDir m_outDir;
    std::filesystem::path m_sources;
    std::filesystem::path m_out;
};

TEST_F(TranscodeJoinTest, CancellingLeavesNoFileAndKeepsTheDestination) {
    const auto destination = m_out / "joined.mov";
    std::ofstream(destination) << "an earlier movie";
    Request request = twoClips();
    int callsAfterCancel = 0;
    bool cancelled = false;
    request.progress = [&](double fraction) {
        if (cancelled)
            ++callsAfterCancel;
        cancelled = cancelled || fraction >= 0.3;
        return !cancelled;
    };
    auto joined = transcodeJoin(destination, request);
    ASSERT_FALSE(joined.has_value());
    EXPECT_EQ(joined.error().code, ECANCELED);
    EXPECT_EQ(callsAfterCancel, 0);
    EXPECT_EQ(contentsOf(destination), "an earlier movie");
    EXPECT_EQ(filesIn(m_out), std::vector<std::string>{"joined.mov"});
}

TEST_F(TranscodeJoinTest, UnreadableSourceAnswersAnErrorNamingIt) {
    const auto broken = m_sources / "broken.mp4";
    std::ofstream(broken) << "this is not a movie at all, just some words in a file";
    Request request = twoClips();
    Segment segment;
    segment.file = broken;
    segment.videoStream = 0;
    segment.duration = makeTime(1, 1);
    segment.sourceRange = media::makeTimeRange(makeTime(0, 1), makeTime(1, 1));
    request.segments.insert(request.segments.begin() + 1, segment);
    auto joined = transcodeJoin(m_out / "joined.mov", request);
    ASSERT_FALSE(joined.has_value());
    EXPECT_NE(joined.error().message.find(broken.string()), std::string::npos) << joined.error().message;
    EXPECT_TRUE(filesIn(m_out).empty());

    request.segments[1].file = m_sources / "missing.mp4";
    joined = transcodeJoin(m_out / "joined.mov", request);
    ASSERT_FALSE(joined.has_value());
    EXPECT_NE(joined.error().message.find("missing.mp4"), std::string::npos) << joined.error().message;
    EXPECT_TRUE(filesIn(m_out).empty());
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

TEST_F(TranscodeJoinTest, RefusesWhatItCannotMakeAndLeavesNothing) {
    Request unknownOption = twoClips();
    unknownOption.settings.videoOptions["no-such-option"] = "1";
    auto joined = transcodeJoin(m_out / "joined.mov", unknownOption);
    ASSERT_FALSE(joined.has_value());
    EXPECT_NE(joined.error().message.find("no-such-option"), std::string::npos) << joined.error().message;

    Request unknownContainer = twoClips();
    unknownContainer.settings.container = "no-such-container";
    EXPECT_FALSE(transcodeJoin(m_out / "joined.mov", unknownContainer).has_value());

    Request noSize = twoClips();
    noSize.width = noSize.height = 0;
    EXPECT_FALSE(transcodeJoin(m_out / "joined.mov", noSize).has_value());

    Request badChapters = twoClips();
    badChapters.chapters = {Chapter{"Late", makeTime(10, 1)}};
    EXPECT_FALSE(transcodeJoin(m_out / "joined.mov", badChapters).has_value());

    EXPECT_TRUE(filesIn(m_out).empty());
}

TEST_F(TranscodeJoinTest, ReplacesAnExistingDestinationWhenComplete) {
    const auto destination = m_out / "joined.mov";
    std::ofstream(destination) << "an earlier movie";
    ASSERT_TRUE(transcodeJoin(destination, twoClips()).has_value());
    EXPECT_NEAR(oracle::formatDuration(destination), 0.8, 0.04);
    EXPECT_EQ(filesIn(m_out), std::vector<std::string>{"joined.mov"});
}

// A range inside a clip starts with the frame showing at its start, found by
// seeking when the range starts late in the file, by reading otherwise.
TEST_F(TranscodeJoinTest, RangesStartWithTheFrameShowingAtTheirStart) {
    const auto source = clip("long.mp4", 60); // 2.4 s
    Segment early = movieSegment(source);
    early.sourceRange = media::makeTimeRange(makeTime(400, 1000), makeTime(400, 1000));
    early.duration = early.sourceRange.duration;
    Segment late = early;
    late.sourceRange = media::makeTimeRange(makeTime(1200, 1000), makeTime(800, 1000));
    late.duration = late.sourceRange.duration;
    Request request;
    request.segments = {early, late};
    request.width = 160;
    request.height = 120;
    const auto destination = m_out / "ranges.mov";
    ASSERT_TRUE(transcodeJoin(destination, request).has_value());

    EXPECT_EQ(transcode_test::patternNumber(transcode_test::pictureAt(destination, 0, 160, 120), 0, 5), 10);
    EXPECT_EQ(transcode_test::patternNumber(transcode_test::pictureAt(destination, 0.4, 160, 120), 0, 5), 30);
    EXPECT_EQ(transcode_test::videoFrameTimes(destination).size(), 30u);
    EXPECT_NEAR(oracle::formatDuration(destination), 1.2, 0.001);
    const QJsonObject probed = oracle::probe(destination);
    for (const QJsonValue& stream : probed["streams"].toArray()) {
        if (stream["codec_type"].toString() == "audio") {
            EXPECT_NEAR(stream["duration_ts"].toDouble(), 1.2 * 44100, 1024);
        }
    }
}

TEST_F(TranscodeJoinTest, SoundFilesAloneMakeASoundOnlyMovie) {
    Request request;
    request.segments = {movieSegment(fixtures::makeSound(m_sources, "low.wav", 22050, 1, 0.5)),
                        movieSegment(fixtures::makeSound(m_sources, "high.wav", 44100, 2, 0.5))};
    const auto destination = m_out / "sound.m4a";
    request.settings.container = "ipod";
    ASSERT_TRUE(transcodeJoin(destination, request).has_value());
    const QJsonObject probed = oracle::probe(destination);
    const QJsonArray streams = probed["streams"].toArray();
    ASSERT_EQ(streams.size(), 1);
    EXPECT_EQ(streams[0]["codec_name"].toString(), "aac");
    EXPECT_EQ(streams[0]["sample_rate"].toString(), "44100");
    EXPECT_EQ(streams[0]["channels"].toInt(), 2);
    EXPECT_NEAR(streams[0]["duration"].toString().toDouble(), 1.0, 0.001);
}

TEST_F(TranscodeJoinTest, MatroskaGetsChaptersAndOddSizesBecomeEven) {
    Request request = twoClips();
    request.settings.container = "matroska";
    request.width = 161;
    request.height = 121;
    request.chapters = {Chapter{"First", makeTime(0, 1)}, Chapter{"Second", makeTime(2, 5)}};
    const auto destination = m_out / "joined.mkv";
    ASSERT_TRUE(transcodeJoin(destination, request).has_value());
    const auto found = transcode_test::chapters(destination);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[1]["tags"].toObject()["title"].toString(), "Second");
    EXPECT_NEAR(found[1]["start_time"].toString().toDouble(), 0.4, 0.001);
    const QJsonObject probed = oracle::probe(destination);
    for (const QJsonValue& stream : probed["streams"].toArray())
        if (stream["codec_type"].toString() == "video") {
            EXPECT_EQ(stream["width"].toInt(), 162);
            EXPECT_EQ(stream["height"].toInt(), 122);
        }
}

} // namespace
