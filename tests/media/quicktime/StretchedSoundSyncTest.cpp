// A movie scaled to a new duration keeps its sound, stretched with its pitch
// kept, within 12 ms of its picture, slowed down or sped up, as FFmpeg and
// GStreamer play it; every track lasts exactly the new duration.

#include "Ffprobe.h"
#include "MovieParts.h"
#include "MovieTiming.h"
#include "SharedClips.h"
#include "SyncMarks.h"
#include "media/Movie.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

using oracle::Reader;
constexpr double kSyncTolerance = 0.012; // seconds between the flash and its beep
constexpr int kFps = 25;
constexpr int kFrames = 75;
constexpr int kMarkFrame = 40; // well after the start, where a stretcher has settled

struct Stretch final {
    const char* name;
    double factor; // the new duration over the old one
};

class StretchedSoundSyncTest : public ::testing::TestWithParam<Stretch> {
protected:
    void SetUp() override {
        if (!oracle::ffprobeAvailable() || !oracle::gstreamerAvailable())
            GTEST_SKIP() << "ffmpeg or GStreamer is not installed (scripts/setup installs them)";
    }
};

std::filesystem::path scaledClip(const Stretch& stretch) {
    const std::filesystem::path source =
        fixtures::test::sharedClip("stretch-source.mov", {.container = "mov",
                                                          .fpsNum = kFps,
                                                          .frames = kFrames,
                                                          .sampleRate = 48000,
                                                          .syncMarkFrame = kMarkFrame});
    const auto file = fixtures::test::scratchFolder(std::string("stretch-") + stretch.name) / "scaled.mov";
    std::filesystem::copy_file(source, file);
    auto movie = media_test::openMovie(file);
    movie->setEditable(true);
    media_test::scaleWhole(*movie, stretch.factor * media::seconds(movie->duration()));
    if (auto updated = movie->updateMovieFile(); !updated)
        throw std::runtime_error(updated.error().message);
    return file;
}

TEST_P(StretchedSoundSyncTest, TheBeepStaysOnItsFlash) {
    const Stretch stretch = GetParam();
    const std::filesystem::path file = scaledClip(stretch);
    const double mark = stretch.factor * kMarkFrame / kFps;
    const double duration = stretch.factor * kFrames / kFps;
    for (const auto& stream : oracle::probeStreams(file))
        EXPECT_NEAR(stream.duration, duration, 0.001) << stream.codecType;
    for (const Reader reader : {Reader::FFmpeg, Reader::GStreamer}) {
        SCOPED_TRACE(reader == Reader::FFmpeg ? "FFmpeg" : "GStreamer");
        const oracle::SyncMarks read = oracle::readSyncMarks(reader, file);
        ASSERT_EQ(read.flashes.size(), 1u);
        ASSERT_EQ(read.beeps.size(), 1u);
        EXPECT_NEAR(read.flashes[0], mark, 1.0 / kFps);
        EXPECT_NEAR(read.beeps[0], read.flashes[0], kSyncTolerance);
        EXPECT_NEAR(read.soundEnd, duration, 0.03);
    }
}

// Slowed down by up to half as long again, and sped up to twice the speed.
INSTANTIATE_TEST_SUITE_P(Factors, StretchedSoundSyncTest,
                         ::testing::Values(Stretch{"Slower1_25", 1.25}, Stretch{"Slower1_5", 1.5},
                                           Stretch{"Faster0_8", 0.8}, Stretch{"Faster0_5", 0.5}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
