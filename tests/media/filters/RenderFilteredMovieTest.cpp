#include "media/filters/FilteredMovie.h"

#include "MediaFixtures.h"
#include "MovieTiming.h"
#include "SyncMarks.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>

using media::filters::FilterRenderRequest;
using media::filters::renderFilteredMovie;

namespace {

const auto kGoOn = [](double) { return true; };

} // namespace

TEST(RenderFilteredMovieTest, AChainOfThreeGivesAnMpeg4MovieOfTheSourcesLengthWithItsSoundInSync) {
    testing_support::TestFolder folder;
    fixtures::quietFfmpegLogs();
    const auto source = fixtures::makeClip(folder.path(), "source.mp4", {.frames = 50, .syncMarkFrame = 30});
    const auto output = folder / "Filtered Movie.mp4";
    std::vector<double> heard;
    const auto rendered = renderFilteredMovie(
        {source, output, {"CIGaussianBlur", "CIColorMonochrome", "CIPixellate"}}, [&](double fraction) {
            heard.push_back(fraction);
            return true;
        });
    ASSERT_TRUE(rendered) << rendered.error().message;
    ASSERT_FALSE(heard.empty());
    EXPECT_TRUE(std::is_sorted(heard.begin(), heard.end()));
    EXPECT_DOUBLE_EQ(heard.back(), 1.0);

    const auto video = oracle::probeStreams(output, "video");
    const auto sound = oracle::probeStreams(output, "audio");
    ASSERT_EQ(video.size(), 1u);
    ASSERT_EQ(sound.size(), 1u);
    EXPECT_EQ(video[0].codecName, "mpeg4");
    EXPECT_EQ(video[0].packets, 50);
    EXPECT_NEAR(video[0].duration, 2.0, 0.05);
    EXPECT_NEAR(sound[0].duration, 2.0, 0.05);

    const auto marks = oracle::readSyncMarks(oracle::Reader::FFmpeg, output);
    ASSERT_EQ(marks.flashes.size(), 1u);
    ASSERT_EQ(marks.beeps.size(), 1u);
    EXPECT_NEAR(marks.flashes[0], 30 / 25.0, 0.001);
    EXPECT_NEAR(marks.beeps[0], marks.flashes[0], 0.025);
}

TEST(RenderFilteredMovieTest, SoundMp4CannotCarryIsMadeAacAndASilentSourceGivesASilentMovie) {
    testing_support::TestFolder folder;
    fixtures::quietFfmpegLogs();
    fixtures::ClipRecipe recipe;
    recipe.container = "mov";
    recipe.audioCodec = "pcm_s16le";
    const auto pcm = fixtures::makeClip(folder.path(), "pcm.mov", recipe);
    ASSERT_TRUE(renderFilteredMovie({pcm, folder / "pcm.mp4", {"CIColorInvert"}}, kGoOn));
    const auto sound = oracle::probeStreams(folder / "pcm.mp4", "audio");
    ASSERT_EQ(sound.size(), 1u);
    EXPECT_EQ(sound[0].codecName, "aac");
    EXPECT_NEAR(sound[0].duration, 1.0, 0.05);

    recipe.container = "mp4";
    recipe.audioCodec = "";
    const auto silent = fixtures::makeClip(folder.path(), "silent.mp4", recipe);
    ASSERT_TRUE(renderFilteredMovie({silent, folder / "silent out.mp4", {}}, kGoOn));
    EXPECT_TRUE(oracle::probeStreams(folder / "silent out.mp4", "audio").empty());
    EXPECT_EQ(oracle::probeStreams(folder / "silent out.mp4", "video").size(), 1u);
}

TEST(RenderFilteredMovieTest, CancelOrBadInputLeavesNothingAndKeepsAnExistingFile) {
    testing_support::TestFolder folder;
    fixtures::quietFfmpegLogs();
    const auto source = fixtures::makeClip(folder.path(), "source.mp4", {});
    const auto output = folder.write("kept.mp4", "old bytes");
    int calls = 0;
    const auto cancelled = renderFilteredMovie({source, output, {"CITwirlDistortion"}}, [&](double) {
        return ++calls < 5;
    });
    ASSERT_FALSE(cancelled);
    EXPECT_EQ(cancelled.error().code, ECANCELED);
    EXPECT_EQ(testing_support::contentsOf(output), "old bytes");

    const auto notMedia = folder.write("notes.txt", "not a movie");
    EXPECT_FALSE(renderFilteredMovie({notMedia, folder / "out.mp4", {}}, kGoOn));
    const auto soundOnly = fixtures::makeSound(folder.path(), "tone.m4a", 44100, 2, 0.5);
    const auto refused = renderFilteredMovie({soundOnly, folder / "out.mp4", {}}, kGoOn);
    ASSERT_FALSE(refused);
    EXPECT_NE(refused.error().message.find("no picture"), std::string::npos);
    EXPECT_EQ(testing_support::namesIn(folder.path()),
              (std::vector<std::string>{"kept.mp4", "notes.txt", "source.mp4", "tone.m4a"}));
}
