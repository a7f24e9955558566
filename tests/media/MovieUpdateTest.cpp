// Chapters read back from files, movies saved into their own files, scaled
// movies written with new timing, and reference movies that hold the parts
// they cannot point into.

#include "Ffprobe.h"
#include "FileContents.h"
#include "MediaFixtures.h"
#include "MovieTiming.h"
#include "TemporaryFolder.h"
#include "media/Movie.h"
#include "media/quicktime/ReferencedSource.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace {

using fixtures::test::TemporaryFolder;

using testing_support::contentsOf;

std::size_t filesIn(const std::filesystem::path& folder) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

std::filesystem::path movClip(const std::filesystem::path& folder, const std::string& name, int frames = 25) {
    fixtures::ClipRecipe recipe;
    recipe.container = "mov";
    recipe.frames = frames;
    return fixtures::makeClip(folder, name, recipe);
}

// A new movie of the files one after the other.
std::shared_ptr<media::Movie> joined(const std::vector<std::filesystem::path>& files) {
    auto movie = media::Movie::makeEmpty();
    movie->setEditable(true);
    for (const auto& file : files) {
        auto part = media::Movie::open(file);
        EXPECT_TRUE(part.has_value()) << file;
        if (part) {
            EXPECT_TRUE(movie->insertSegment(
                **part, media::makeTimeRange(media::zeroTime(), (*part)->duration()), movie->duration()));
        }
    }
    return movie;
}

// Two clips joined into `name` with chapters "One" and "Two", self-contained.
std::filesystem::path joinedWithChapters(const std::filesystem::path& folder, const std::string& name) {
    auto movie = joined({movClip(folder, "a.mov"), movClip(folder, "b.mov")});
    media::WriteOptions options;
    options.chapters = {{"One", media::makeTime(1, 1)}, {"Two", media::makeTime(1, 1)}};
    const auto output = folder / name;
    auto written = movie->write(output, options);
    EXPECT_TRUE(written.has_value()) << written.error().message;
    return output;
}

TEST(MovieChaptersTest, AreReadFromTheFileAndMoveWithEdits) {
    TemporaryFolder folder;
    auto movie = media::Movie::open(joinedWithChapters(folder.path(), "joined.mov"));
    ASSERT_TRUE(movie.has_value());
    auto chapters = (*movie)->chapters();
    ASSERT_EQ(chapters.size(), 2u);
    EXPECT_EQ(chapters[0].title, "One");
    EXPECT_EQ(chapters[1].title, "Two");
    EXPECT_NEAR(media::seconds(chapters[1].range.start), 1.0, 0.001);
    EXPECT_NEAR(media::seconds(chapters[1].range.duration), 1.0, 0.03);

    (*movie)->setEditable(true);
    const media::Time length = (*movie)->duration();
    ASSERT_TRUE((*movie)->scaleSegment(media::makeTimeRange(media::zeroTime(), length),
                                       media::makeTime(length.value * 2, length.scale)));
    chapters = (*movie)->chapters();
    EXPECT_NEAR(media::seconds(chapters[1].range.start), 2.0, 0.002);
    EXPECT_NEAR(media::seconds(chapters[0].range.duration), 2.0, 0.002);

    // A plain clip has none.
    auto plain = media::Movie::open(movClip(folder.path(), "plain.mov"));
    ASSERT_TRUE(plain.has_value());
    EXPECT_TRUE((*plain)->chapters().empty());
}

TEST(MovieUpdateTest, SavesAScaledMovieIntoItsOwnFileKeepingChapters) {
    TemporaryFolder folder;
    const auto file = joinedWithChapters(folder.path(), "joined.mov");
    const std::size_t before = filesIn(folder.path());
    auto movie = media::Movie::open(file);
    ASSERT_TRUE(movie.has_value());
    (*movie)->setEditable(true);
    const media::Time length = (*movie)->duration();
    ASSERT_TRUE((*movie)->scaleSegment(media::makeTimeRange(media::zeroTime(), length),
                                       media::makeTime(length.value * 3 / 2, length.scale)));
    std::vector<int> phases;
    auto updated = (*movie)->updateMovieFile([&](int phase, double) {
        phases.push_back(phase);
        return true;
    });
    ASSERT_TRUE(updated.has_value()) << updated.error().message;
    EXPECT_EQ(phases.front(), 0);
    EXPECT_EQ(phases.back(), 2);
    EXPECT_EQ(filesIn(folder.path()), before) << "no temporary file is left beside it";

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
    const auto chapters = oracle::probeChapterList(file);
    ASSERT_EQ(chapters.size(), 2u);
    EXPECT_EQ(chapters[1].title, "Two");
    EXPECT_NEAR(chapters[1].start, 1.5, 0.01);
    // The movie now describes the new file.
    EXPECT_NEAR(media::seconds((*movie)->duration()), 3.0, 0.05);
    EXPECT_EQ((*movie)->chapters().size(), 2u);
}

TEST(MovieUpdateTest, AFailedUpdateLeavesTheFileAsItWas) {
    TemporaryFolder folder;
    fixtures::ClipRecipe recipe;
    recipe.container = "mkv";
    const auto file = fixtures::makeClip(folder.path(), "clip.mkv", recipe);
    const std::string original = contentsOf(file);
    auto movie = media::Movie::open(file);
    ASSERT_TRUE(movie.has_value());
    (*movie)->setEditable(true);
    const media::Time length = (*movie)->duration();
    // Files of other containers would be encoded again, or become QuickTime
    // movies under their old names: they are not updated.
    ASSERT_TRUE((*movie)->scaleSegment(media::makeTimeRange(media::zeroTime(), length),
                                       media::makeTime(length.value * 2, length.scale)));
    EXPECT_FALSE((*movie)->canUpdateMovieFile());
    EXPECT_FALSE((*movie)->updateMovieFile().has_value());
    EXPECT_EQ(contentsOf(file), original);
    auto wav = media::Movie::open(fixtures::makeSound(folder.path(), "tone.wav", 44100, 2, 1.0));
    ASSERT_TRUE(wav.has_value());
    EXPECT_FALSE((*wav)->canUpdateMovieFile());
    EXPECT_EQ(filesIn(folder.path()), 2u);

    // Cancelling midway leaves it too.
    auto mov = media::Movie::open(movClip(folder.path(), "clip.mov"));
    ASSERT_TRUE(mov.has_value());
    const std::string movBytes = contentsOf((*mov)->fileName());
    (*mov)->setEditable(true);
    ASSERT_TRUE((*mov)->scaleSegment(media::makeTimeRange(media::zeroTime(), (*mov)->duration()),
                                     media::makeTime(2, 1)));
    auto cancelled =
        (*mov)->updateMovieFile([](int phase, double fraction) { return phase == 0 || fraction < 0.6; });
    ASSERT_FALSE(cancelled.has_value());
    EXPECT_EQ(cancelled.error().code, ECANCELED);
    EXPECT_EQ(contentsOf((*mov)->fileName()), movBytes);
    EXPECT_EQ(filesIn(folder.path()), 3u);

    EXPECT_FALSE(media::Movie::makeEmpty()->canUpdateMovieFile());
}

TEST(MovieScaledWriteTest, SoundOnlyAndVideoOnlyMoviesStretch) {
    TemporaryFolder folder;
    const auto sound = fixtures::makeSound(folder.path(), "tone.m4a", 44100, 2, 2.0);
    fixtures::ClipRecipe recipe;
    recipe.container = "mp4";
    recipe.audioCodec = "";
    const auto video = fixtures::makeClip(folder.path(), "video.mp4", recipe);
    for (const auto& [file, wanted] : {std::pair{sound, 0.5}, std::pair{video, 2.5}}) {
        SCOPED_TRACE(file.filename().string());
        auto movie = media::Movie::open(file);
        ASSERT_TRUE(movie.has_value());
        (*movie)->setEditable(true);
        const media::Time length = (*movie)->duration();
        ASSERT_TRUE((*movie)->scaleSegment(
            media::makeTimeRange(media::zeroTime(), length),
            media::makeTime(static_cast<std::int64_t>(wanted * length.scale), length.scale)));
        const auto output = folder.path() / ("scaled-" + file.filename().string());
        auto written = (*movie)->write(output, {});
        ASSERT_TRUE(written.has_value()) << written.error().message;
        EXPECT_NEAR(oracle::formatDuration(output), wanted, 0.045);
        const auto streams = oracle::probeStreams(output);
        ASSERT_EQ(streams.size(), 1u);
        EXPECT_NEAR(streams[0].duration, wanted, 0.045);
    }
}

TEST(MixedReferringMovieTest, PointsIntoQuickTimeAndHoldsTheRest) {
    TemporaryFolder folder;
    const auto mov = movClip(folder.path(), "a.mov");
    fixtures::ClipRecipe recipe;
    recipe.container = "mkv";
    const auto mkv = fixtures::makeClip(folder.path(), "b.mkv", recipe);
    recipe.container = "avi";
    recipe.videoCodec = "mpeg4";
    recipe.audioCodec = "libmp3lame";
    const auto avi = fixtures::makeClip(folder.path(), "c.avi", recipe);
    recipe.container = "webm";
    recipe.videoCodec = "libvpx-vp9";
    recipe.audioCodec = "libopus";
    recipe.sampleRate = 48000;
    const auto webm = fixtures::makeClip(folder.path(), "d.webm", recipe);

    auto movie = joined({mov, mkv, avi, webm});
    const std::size_t before = filesIn(folder.path());
    media::WriteOptions options;
    options.placement = media::WritePlacement::Referring;
    const auto output = folder.path() / "referring.mov";
    auto written = movie->write(output, options);
    ASSERT_TRUE(written.has_value()) << written.error().message;
    EXPECT_EQ(filesIn(folder.path()), before + 1) << "the re-encoded parts' temporary files are gone";
    // The QuickTime clip stays a reference: the new file is much smaller than all three.
    EXPECT_TRUE(media::quicktime::refersToOtherFiles(output));

    auto reopened = media::Movie::open(output);
    ASSERT_TRUE(reopened.has_value()) << reopened.error().message;
    // As long as the joined movie (sound of some parts outlasts their picture a little).
    const double joined = media::seconds(movie->duration());
    EXPECT_NEAR(joined, 4.0, 0.1);
    EXPECT_NEAR(media::seconds((*reopened)->duration()), joined, 0.03);
    EXPECT_NEAR(oracle::formatDuration(output), joined, 0.03);
    const auto streams = oracle::probeStreams(output, {"-enable_drefs", "1", "-use_absolute_path", "1"});
    ASSERT_EQ(streams.size(), 8u) << "video and sound of each part on tracks of their own";
    std::vector<std::string> videoCodecs;
    for (const auto& stream : streams) {
        if (stream.codecType == "video") {
            videoCodecs.push_back(stream.codecName);
            EXPECT_EQ(stream.packets, 25);
            EXPECT_NEAR(stream.duration, 1.0, 0.05);
        }
    }
    // MPEG-4 Part 2 from the AVI is copied as it is; VP9 from WebM, which
    // QuickTime does not carry, is encoded again.
    EXPECT_EQ(videoCodecs, (std::vector<std::string>{"h264", "h264", "mpeg4", "h264"}));
}

TEST(MixedReferringMovieTest, HoldsAStillPictureForAsLongAsItIsShown) {
    TemporaryFolder folder;
    const auto mov = movClip(folder.path(), "a.mov");
    const auto png = fixtures::makePicture(folder.path(), "b.png", 64, 48);
    auto movie = joined({mov, png});
    const std::size_t before = filesIn(folder.path());
    media::WriteOptions options;
    options.placement = media::WritePlacement::Referring;
    const auto output = folder.path() / "slideshow.mov";
    auto written = movie->write(output, options);
    ASSERT_TRUE(written.has_value()) << written.error().message;
    EXPECT_EQ(filesIn(folder.path()), before + 1) << "the encoded picture's temporary file is gone";
    EXPECT_TRUE(media::quicktime::refersToOtherFiles(output));

    // One second of clip, then the picture for its five seconds.
    const double joined = media::seconds(movie->duration());
    EXPECT_NEAR(joined, 6.0, 0.05);
    auto reopened = media::Movie::open(output);
    ASSERT_TRUE(reopened.has_value()) << reopened.error().message;
    EXPECT_NEAR(media::seconds((*reopened)->duration()), joined, 0.03);
    EXPECT_NEAR(oracle::formatDuration(output), joined, 0.03);
    // The picture shows at the end of the movie.
    EXPECT_TRUE((*reopened)->frameImage(media::makeTime(5500, 1000)).has_value());
}

} // namespace
