// Joined movies play in sync in every reader: each clip has a white picture
// and its sound coming on at the same instant; after joining (self-contained,
// referring, or scaled to a duration) FFmpeg and GStreamer must show each
// white picture when the movie places it and play each beep within 12 ms of
// it, decoding every picture and the whole of the sound.

#include "Ffprobe.h"
#include "MovieParts.h"
#include "MovieTiming.h"
#include "SharedClips.h"
#include "SyncMarks.h"
#include "media/Movie.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>

namespace {

using oracle::Reader;
using oracle::SyncMarks;

constexpr double kSyncTolerance = 0.012; // seconds between a flash and its beep
constexpr double kPlaceTolerance = 0.001;
constexpr double kStretchTolerance = 0.004; // what stretching adds to a join point's offset

struct SyncClip final {
    int fps;
    int frames;
    int markFrame;
    double extraSound; // seconds of sound after the last picture
    bool sound = true;
    int sampleRate = 48000;
    const char* codec = "aac"; // PCM goes in MOV
};

// Seven clips; some have sound that outlasts their picture, as phones record.
const std::vector<SyncClip> kClips{{25, 30, 10, 0},   {30, 36, 12, 0.25}, {25, 25, 5, 0},
                                   {30, 40, 20, 0.4}, {25, 28, 14, 0.1},  {30, 33, 9, 0},
                                   {25, 31, 16, 0.05}};

std::filesystem::path syncClip(const SyncClip& clip) {
    const bool pcm = std::string(clip.codec) != "aac";
    const std::string name = "sync-" + std::to_string(clip.fps) + "-" + std::to_string(clip.frames) + "-" +
                             std::to_string(clip.markFrame) + "-" + std::to_string(clip.sampleRate) + "-" +
                             std::to_string(std::lround(clip.extraSound * 1000)) +
                             (clip.sound ? "" : "-mute") + (pcm ? "-pcm.mov" : ".mp4");
    return fixtures::test::sharedClip(name, {.container = pcm ? "mov" : "mp4",
                                             .audioCodec = clip.sound ? clip.codec : "",
                                             .fpsNum = clip.fps,
                                             .frames = clip.frames,
                                             .sampleRate = clip.sampleRate,
                                             .syncMarkFrame = clip.markFrame,
                                             .extraSoundSeconds = clip.extraSound});
}

struct Joined final {
    std::filesystem::path file;
    std::vector<double> marks; // where each clip's mark is placed in the movie, seconds
    int frames = 0;
    double duration = 0;
};

Joined join(const std::string& name, media::WritePlacement placement,
            const std::vector<SyncClip>& clips = kClips) {
    Joined joined;
    joined.file = fixtures::test::scratchFolder(name) / name;
    auto movie = media::Movie::makeEmpty();
    movie->setEditable(true);
    media::WriteOptions options;
    options.placement = placement;
    for (std::size_t i = 0; i < clips.size(); ++i) {
        auto clip = media_test::openMovie(syncClip(clips[i]));
        joined.marks.push_back(media::seconds(movie->duration()) + double(clips[i].markFrame) / clips[i].fps);
        joined.frames += clips[i].frames;
        media_test::appendWhole(*movie, *clip);
        options.chapters.push_back({QString("Clip %1").arg(i), clip->duration()});
    }
    joined.duration = media::seconds(movie->duration());
    if (auto written = movie->write(joined.file, options); !written)
        throw std::runtime_error(written.error().message);
    return joined;
}

// Each flash where the movie places it (times `scale`), each beep with its flash.
void expectInSync(const SyncMarks& read, const std::vector<double>& marks, double scale, const char* reader,
                  double tolerance = kSyncTolerance) {
    SCOPED_TRACE(reader);
    const auto list = [](const std::vector<double>& times) {
        std::string text;
        for (double time : times)
            text += std::to_string(time) + " ";
        return text;
    };
    ASSERT_EQ(read.flashes.size(), marks.size()) << list(read.flashes);
    ASSERT_EQ(read.beeps.size(), marks.size()) << list(read.beeps);
    for (std::size_t i = 0; i < marks.size(); ++i) {
        // The measured offsets, for the record: sound after picture in milliseconds.
        std::printf("%-9s clip %zu: picture %.4f s, sound %+.1f ms\n", reader, i, read.flashes[i],
                    (read.beeps[i] - read.flashes[i]) * 1000);
        EXPECT_NEAR(read.flashes[i], marks[i] * scale, 0.002) << "join point " << i;
        EXPECT_NEAR(read.beeps[i], read.flashes[i], tolerance) << "join point " << i;
    }
}

void expectWhole(const SyncMarks& read, int frames, double duration, const char* reader) {
    SCOPED_TRACE(reader);
    EXPECT_EQ(static_cast<int>(read.frames.size()), frames);
    for (std::size_t i = 1; i < read.frames.size(); ++i)
        EXPECT_LT(read.frames[i - 1], read.frames[i]) << "picture " << i;
    EXPECT_NEAR(read.soundStart, 0, kPlaceTolerance);
    EXPECT_NEAR(read.soundEnd, duration, 0.03);
}

class SyncTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!oracle::ffprobeAvailable() || !oracle::gstreamerAvailable())
            GTEST_SKIP() << "ffmpeg or GStreamer is not installed (scripts/setup installs them)";
    }
};

TEST_F(SyncTest, LosslessJoinPlaysInSyncInFfmpegAndGstreamer) {
    for (const char* name : {"joined.mov", "joined.mp4"}) {
        SCOPED_TRACE(name);
        const Joined joined = join(name, media::WritePlacement::SelfContained);
        const SyncMarks ffmpeg = oracle::readSyncMarks(Reader::FFmpeg, joined.file);
        EXPECT_EQ(ffmpeg.warnings, "");
        expectInSync(ffmpeg, joined.marks, 1, "FFmpeg");
        expectWhole(ffmpeg, joined.frames, joined.duration, "FFmpeg");
        const SyncMarks gstreamer = oracle::readSyncMarks(Reader::GStreamer, joined.file);
        expectInSync(gstreamer, joined.marks, 1, "GStreamer");
        expectWhole(gstreamer, joined.frames, joined.duration, "GStreamer");
    }
}

TEST_F(SyncTest, ReferringMovieKeepsEachSourceInSync) {
    const Joined joined = join("referring.mov", media::WritePlacement::Referring);
    // FFmpeg gives each source's picture and sound streams of their own.
    for (std::size_t i = 0; i < kClips.size(); ++i) {
        const SyncMarks ffmpeg =
            oracle::readSyncMarks(Reader::FFmpeg, joined.file, static_cast<int>(i), static_cast<int>(i));
        EXPECT_EQ(ffmpeg.warnings, "");
        expectInSync(ffmpeg, {joined.marks[i]}, 1, "FFmpeg");
        EXPECT_EQ(static_cast<int>(ffmpeg.frames.size()), kClips[i].frames);
    }
}

TEST_F(SyncTest, ScaledMovieLastsItsDurationInEveryTrackAndStaysInSync) {
    const Joined joined = join("scaled.mov", media::WritePlacement::SelfContained);
    // Each join point's own offset (within half a sound frame), which slowing down stretches too.
    std::vector<SyncMarks> before;
    for (const Reader reader : {Reader::FFmpeg, Reader::GStreamer})
        before.push_back(oracle::readSyncMarks(reader, joined.file));
    const double wanted = 18.0; // about twice as slow, where the stretcher delays sound most
    auto movie = media_test::openMovie(joined.file);
    movie->setEditable(true);
    media_test::scaleWhole(*movie, wanted);
    auto updated = movie->updateMovieFile();
    ASSERT_TRUE(updated.has_value()) << updated.error().message;

    const auto streams = oracle::probeStreams(joined.file);
    ASSERT_EQ(streams.size(), 3u); // picture, sound, chapters
    for (const auto& stream : streams)
        EXPECT_NEAR(stream.duration, wanted, kPlaceTolerance) << stream.codecType;
    const double scale = wanted / joined.duration;
    for (const Reader reader : {Reader::FFmpeg, Reader::GStreamer}) {
        SyncMarks read = oracle::readSyncMarks(reader, joined.file);
        const char* name = reader == Reader::FFmpeg ? "FFmpeg" : "GStreamer";
        // Slowed twice, Rubber Band can dip a long tone for 20 ms; the tone
        // coming back is no beep: each flash is paired with the beep nearest it.
        std::vector<double> paired;
        for (const double flash : read.flashes)
            paired.push_back(*std::ranges::min_element(read.beeps, [flash](double a, double b) {
                return std::abs(a - flash) < std::abs(b - flash);
            }));
        if (!read.beeps.empty())
            read.beeps = paired;
        const SyncMarks& unscaled = before[reader == Reader::FFmpeg ? 0 : 1];
        for (std::size_t i = 0;
             i < read.beeps.size() && i < std::min(unscaled.beeps.size(), unscaled.flashes.size()); ++i)
            read.beeps[i] -= scale * (unscaled.beeps[i] - unscaled.flashes[i]);
        expectInSync(read, joined.marks, scale, name, kStretchTolerance);
        expectWhole(read, joined.frames, wanted, name);
    }
}

TEST_F(SyncTest, GapsInTheSoundLeaveTheSoundAfterThemInSync) {
    // Clips without sound, and one whose sound stops 0.3 s before its picture:
    // AAC fills the gaps with the next clip's priming (silence) played again,
    // PCM with silent frames of its own.
    for (const char* codec : {"aac", "pcm_s16le"}) {
        SCOPED_TRACE(codec);
        const std::vector<SyncClip> clips{{25, 30, 10, 0, true, 48000, codec},
                                          {30, 45, 20, 0, false},
                                          {30, 36, 12, -0.3, true, 48000, codec},
                                          {25, 20, 3, 0, false},
                                          {25, 25, 5, 0, true, 48000, codec}};
        const Joined joined =
            join(std::string("gap-") + codec + ".mov", media::WritePlacement::SelfContained, clips);
        const std::vector<double> soundMarks{joined.marks[0], joined.marks[2], joined.marks[4]};
        for (const Reader reader : {Reader::FFmpeg, Reader::GStreamer}) {
            const SyncMarks read = oracle::readSyncMarks(reader, joined.file);
            const char* name = reader == Reader::FFmpeg ? "FFmpeg" : "GStreamer";
            ASSERT_EQ(read.flashes.size(), clips.size()) << name;
            SyncMarks withSound = read;
            withSound.flashes = {read.flashes[0], read.flashes[2], read.flashes[4]};
            expectInSync(withSound, soundMarks, 1, name);
            expectWhole(read, joined.frames, joined.duration, name);
        }
    }
}

TEST_F(SyncTest, ClipsWithLessThanTwoSoundFramesDoNotDrift) {
    // 0.2 s of 8 kHz sound: a priming frame, one whole frame and one mostly
    // padding, which a decoder plays whole. The error of each join point must
    // not add up along the list: the sound stays within one frame (128 ms).
    const std::vector<SyncClip> clips(12, SyncClip{25, 5, 2, 0, true, 8000});
    const Joined joined = join("short.mov", media::WritePlacement::SelfContained, clips);
    const SyncMarks ffmpeg = oracle::readSyncMarks(Reader::FFmpeg, joined.file);
    expectInSync(ffmpeg, joined.marks, 1, "FFmpeg", 0.128);
}

} // namespace
