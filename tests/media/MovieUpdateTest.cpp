// Chapters read back from files, movies saved into their own files, scaled
// movies written with new timing, and reference movies that hold the parts
// they cannot point into.

#include "Ffprobe.h"
#include "MovieParts.h"
#include "MovieTiming.h"
#include "SharedClips.h"
#include "TestFolder.h"
#include "media/quicktime/ReferencedSource.h"

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using media_test::joinedMovie;
using media_test::openMovie;
using media_test::scaleWhole;
using testing_support::contentsOf;
using testing_support::namesIn;

fs::path movClip(int frames = 25) {
    return fixtures::test::h264AacClip("mov", frames);
}

// Two clips joined into folder/name with chapters "One" and "Two", self-contained.
fs::path joinedWithChapters(const fs::path& folder, const std::string& name) {
    media::WriteOptions options;
    options.chapters = {{"One", media::makeTime(1, 1)}, {"Two", media::makeTime(1, 1)}};
    auto written = joinedMovie({movClip(), movClip()})->write(folder / name, options);
    EXPECT_TRUE(written.has_value()) << written.error().message;
    return folder / name;
}

// Chapters are read from the file and move with edits; saved into its own
// file, the scaled movie keeps every frame without encoding it again.
TEST(MovieUpdateTest, SavesAScaledMovieIntoItsOwnFileKeepingChapters) {
    const testing_support::TestFolder folder;
    const auto file = joinedWithChapters(folder.path(), "joined.mov");
    auto movie = openMovie(file);
    auto chapters = movie->chapters();
    ASSERT_EQ(chapters.size(), 2u);
    EXPECT_EQ(chapters[0].title, "One");
    EXPECT_EQ(chapters[1].title, "Two");
    EXPECT_NEAR(media::seconds(chapters[1].range.start), 1.0, 0.001);
    EXPECT_NEAR(media::seconds(chapters[1].range.duration), 1.0, 0.03);
    movie->setEditable(true);
    scaleWhole(*movie, 1.5 * media::seconds(movie->duration()));
    chapters = movie->chapters();
    EXPECT_NEAR(media::seconds(chapters[1].range.start), 1.5, 0.002);
    EXPECT_NEAR(media::seconds(chapters[0].range.duration), 1.5, 0.002);
    std::vector<int> phases;
    auto updated = movie->updateMovieFile([&](int phase, double) {
        phases.push_back(phase);
        return true;
    });
    ASSERT_TRUE(updated.has_value()) << updated.error().message;
    EXPECT_EQ(phases.front(), 0);
    EXPECT_EQ(phases.back(), 2);
    EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>{"joined.mov"})
        << "no temporary file beside it";
    EXPECT_NEAR(oracle::formatDuration(file), 3.0, 0.05);
    for (const auto& stream : oracle::probeStreams(file)) {
        if (stream.codecType == "video") {
            EXPECT_EQ(stream.codecName, "h264");
            EXPECT_EQ(stream.packets, 50) << "every frame kept, none encoded again";
            EXPECT_NEAR(stream.duration, 3.0, 0.061);
        } else if (stream.codecType == "audio") {
            EXPECT_NEAR(stream.duration, 3.0, 0.03);
        }
    }
    const auto written = oracle::probeChapterList(file);
    ASSERT_EQ(written.size(), 2u);
    EXPECT_EQ(written[1].title, "Two");
    EXPECT_NEAR(written[1].start, 1.5, 0.01);
    // The movie now describes the new file.
    EXPECT_NEAR(media::seconds(movie->duration()), 3.0, 0.05);
    EXPECT_EQ(movie->chapters().size(), 2u);
}

TEST(MovieUpdateTest, ThePosterTimeIsKeptInTheFile) {
    const testing_support::TestFolder folder;
    const auto mov = folder / "poster.mov";
    fs::copy_file(movClip(50), mov);
    EXPECT_EQ(media::compareTimes(openMovie(mov)->posterTime(), media::zeroTime()), 0);
    auto movie = openMovie(mov);
    movie->setPosterTime(media::makeTime(3, 2));
    ASSERT_TRUE(movie->updateMovieFile().has_value());
    EXPECT_EQ(media::compareTimes(openMovie(mov)->posterTime(), media::makeTime(3, 2)), 0);
    EXPECT_NEAR(oracle::formatDuration(mov), 2.0, 0.05) << "still a movie others read";
}

TEST(MovieUpdateTest, AFailedUpdateLeavesTheFileAsItWas) {
    const testing_support::TestFolder folder;
    // Files of other containers would be encoded again, or become QuickTime
    // movies under their old names: they are not updated.
    const auto mkv = fixtures::makeClip(folder.path(), "clip.mkv", {.container = "mkv"});
    const std::string original = contentsOf(mkv);
    auto movie = openMovie(mkv);
    movie->setEditable(true);
    scaleWhole(*movie, 2 * media::seconds(movie->duration()));
    EXPECT_FALSE(movie->canUpdateMovieFile());
    EXPECT_FALSE(movie->updateMovieFile().has_value());
    EXPECT_EQ(contentsOf(mkv), original);
    EXPECT_FALSE(openMovie(fixtures::test::standardSet().wav)->canUpdateMovieFile());
    EXPECT_FALSE(media::Movie::makeEmpty()->canUpdateMovieFile());
    // Cancelling midway leaves it too.
    const auto mov = folder / "clip.mov";
    fs::copy_file(movClip(), mov);
    const std::string movBytes = contentsOf(mov);
    auto cancelled = openMovie(mov);
    cancelled->setEditable(true);
    scaleWhole(*cancelled, media::makeTime(2, 1));
    auto updated =
        cancelled->updateMovieFile([](int phase, double fraction) { return phase == 0 || fraction < 0.6; });
    ASSERT_FALSE(updated.has_value());
    EXPECT_EQ(updated.error().code, ECANCELED);
    EXPECT_EQ(contentsOf(mov), movBytes);
    EXPECT_EQ(namesIn(folder.path()), (std::vector<std::string>{"clip.mkv", "clip.mov"}));
}

TEST(MovieScaledWriteTest, SoundOnlyAndVideoOnlyMoviesStretch) {
    const testing_support::TestFolder folder;
    const auto sound = fixtures::makeSound(folder.path(), "tone.m4a", 44100, 2, 2.0);
    const auto video = fixtures::makeClip(folder.path(), "video.mp4", {.audioCodec = ""});
    for (const auto& [file, wanted] : {std::pair{sound, 0.5}, std::pair{video, 2.5}}) {
        SCOPED_TRACE(file.filename().string());
        auto movie = openMovie(file);
        movie->setEditable(true);
        scaleWhole(*movie, wanted);
        const auto output = folder / ("scaled-" + file.filename().string());
        auto written = movie->write(output, {});
        ASSERT_TRUE(written.has_value()) << written.error().message;
        const auto streams = oracle::probeStreams(output);
        ASSERT_EQ(streams.size(), 1u);
        EXPECT_NEAR(streams[0].duration, wanted, 0.045);
    }
}

// MPEG-4 Part 2 from the AVI is copied as it is; VP9 from WebM, which
// QuickTime does not carry, is encoded again; a still picture is held for as
// long as it is shown. Each part's video and sound get tracks of their own.
TEST(MixedReferringMovieTest, PointsIntoQuickTimeAndHoldsTheRest) {
    const testing_support::TestFolder folder;
    const auto& set = fixtures::test::standardSet();
    auto movie = joinedMovie({movClip(), set.h264AacMkv, set.mpeg4Mp3Avi, set.vp9OpusWebm, set.png});
    const auto output = folder / "referring.mov";
    media::WriteOptions options;
    options.placement = media::WritePlacement::Referring;
    auto written = movie->write(output, options);
    ASSERT_TRUE(written.has_value()) << written.error().message;
    EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>{"referring.mov"})
        << "no temporary file is left";
    EXPECT_TRUE(media::quicktime::refersToOtherFiles(output));
    // As long as the joined movie (sound of some parts outlasts their picture a
    // little), the picture's five seconds last.
    const double joined = media::seconds(movie->duration());
    EXPECT_NEAR(joined, 9.0, 0.1);
    auto reopened = openMovie(output);
    EXPECT_NEAR(media::seconds(reopened->duration()), joined, 0.03);
    EXPECT_NEAR(oracle::formatDuration(output), joined, 0.03);
    EXPECT_TRUE(reopened->frameImage(media::makeTime(std::llround((joined - 0.5) * 1000), 1000)).has_value());
    std::vector<std::string> videoCodecs;
    int sounds = 0;
    for (const auto& stream :
         oracle::probeStreams(output, {"-enable_drefs", "1", "-use_absolute_path", "1"})) {
        sounds += stream.codecType == "audio" ? 1 : 0;
        if (stream.codecType == "video" && videoCodecs.size() < 4) {
            videoCodecs.push_back(stream.codecName);
            EXPECT_EQ(stream.packets, 25);
            EXPECT_NEAR(stream.duration, 1.0, 0.05);
        }
    }
    EXPECT_EQ(videoCodecs, (std::vector<std::string>{"h264", "h264", "mpeg4", "h264"}));
    EXPECT_EQ(sounds, 4) << "video and sound of each part on tracks of their own";
}

} // namespace
