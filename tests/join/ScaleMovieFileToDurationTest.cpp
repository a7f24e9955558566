// Stretching a written movie file to a wanted length.

#include "join/ScaleMovieFileToDuration.h"

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
using join::ScaleMovieFileToDuration;

using testing_support::contentsOf;

std::filesystem::path clip(const std::filesystem::path& folder, const std::string& name, int frames) {
    fixtures::ClipSpec clipSpec;
    clipSpec.container = std::filesystem::path(name).extension().string().substr(1);
    clipSpec.frames = frames;
    return fixtures::makeClip(folder, name, clipSpec);
}

// The new duration value the arithmetic promises, in the movie's own scale.
std::int64_t promisedValue(const std::filesystem::path& file, double seconds) {
    auto movie = media::Movie::open(file);
    const media::Time d = (*movie)->duration();
    return static_cast<std::int64_t>(seconds / (static_cast<double>(d.value) / d.scale) *
                                     static_cast<double>(d.value));
}

TEST(ScaleMovieFileToDurationTest, StretchesAndShrinksKeepingSoundWithPicture) {
    TemporaryFolder folder;
    for (const auto& [name, wanted] : {std::pair{"stretch.mov", 2.5}, std::pair{"shrink.mp4", 0.25}}) {
        SCOPED_TRACE(name);
        const auto file = clip(folder.path(), name, 25);
        const std::int64_t promised = promisedValue(file, wanted);
        ASSERT_TRUE(ScaleMovieFileToDuration(file, wanted));

        auto scaled = media::Movie::open(file);
        ASSERT_TRUE(scaled.has_value());
        EXPECT_LE(std::llabs((*scaled)->duration().value - promised), (*scaled)->duration().scale / 25)
            << "within one frame of the computed length";
        EXPECT_NEAR(oracle::formatDuration(file), wanted, 0.041);
        double video = 0, sound = 0;
        for (const auto& stream : oracle::probeStreams(file)) {
            if (stream.codecType == "video") {
                video = stream.duration;
                EXPECT_EQ(stream.packets, 25) << "frames retimed, not dropped or encoded again";
            } else if (stream.codecType == "audio") {
                sound = stream.duration;
            }
        }
        EXPECT_NEAR(video, wanted, 0.041);
        EXPECT_NEAR(sound, video, 0.041) << "sound and picture end together";
    }
}

TEST(ScaleMovieFileToDurationTest, ChaptersStretchWithTheMovie) {
    TemporaryFolder folder;
    auto movie = media::Movie::makeEmpty();
    movie->setEditable(true);
    for (const char* name : {"a.mov", "b.mov"}) {
        auto part = media::Movie::open(clip(folder.path(), name, 25));
        ASSERT_TRUE(part.has_value());
        EXPECT_TRUE(movie->insertSegment(**part, media::makeTimeRange(media::zeroTime(), (*part)->duration()),
                                         movie->duration()));
    }
    media::WriteOptions options;
    options.chapters = {{"Holiday", media::makeTime(1, 1)}, {"Beach", media::makeTime(1, 1)}};
    const auto file = folder.path() / "joined.mov";
    ASSERT_TRUE(movie->write(file, options).has_value());

    ASSERT_TRUE(ScaleMovieFileToDuration(file, 5.0));
    EXPECT_NEAR(oracle::formatDuration(file), 5.0, 0.041);
    const auto chapters = oracle::probeChapterList(file);
    ASSERT_EQ(chapters.size(), 2u);
    EXPECT_EQ(chapters[0].title, "Holiday");
    EXPECT_NEAR(chapters[0].start, 0.0, 0.001);
    EXPECT_EQ(chapters[1].title, "Beach");
    EXPECT_NEAR(chapters[1].start, 2.5, 0.01);
    EXPECT_NEAR(chapters[1].end, 5.0, 0.05);
}

TEST(ScaleMovieFileToDurationTest, SoundOnlyFilesStretchToo) {
    TemporaryFolder folder;
    const auto sound = fixtures::makeSound(folder.path(), "tone.mov", 48000, 1, 1.0);
    ASSERT_TRUE(ScaleMovieFileToDuration(sound, 3.0));
    EXPECT_NEAR(oracle::formatDuration(sound), 3.0, 0.03);
}

TEST(ScaleMovieFileToDurationTest, WhatCannotBeScaledIsLeftAsItWas) {
    TemporaryFolder folder;
    EXPECT_FALSE(ScaleMovieFileToDuration(folder.path() / "missing.mov", 2.0));

    const auto text = folder.path() / "notes.mov";
    std::ofstream(text) << "not a movie";
    EXPECT_FALSE(ScaleMovieFileToDuration(text, 2.0));
    EXPECT_EQ(contentsOf(text), "not a movie");

    const auto file = clip(folder.path(), "clip.mov", 10);
    const std::string original = contentsOf(file);
    for (const double wanted : {0.0, -1.0, 1e-9, std::numeric_limits<double>::infinity(),
                                std::numeric_limits<double>::quiet_NaN(), 1e300}) {
        EXPECT_FALSE(ScaleMovieFileToDuration(file, wanted)) << wanted;
        EXPECT_EQ(contentsOf(file), original);
    }
    // Matroska is re-encoded on writing, which cannot scale: the file stays.
    const auto mkv = clip(folder.path(), "clip.mkv", 10);
    const std::string mkvBytes = contentsOf(mkv);
    EXPECT_FALSE(ScaleMovieFileToDuration(mkv, 2.0));
    EXPECT_EQ(contentsOf(mkv), mkvBytes);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 3)
        << "nothing left behind";
}

} // namespace

namespace {

TEST(ScaleMovieFileToDurationTest, AReferenceMovieStaysOneAndKeepsPointingAtItsSources) {
    TemporaryFolder folder;
    auto movie = media::Movie::makeEmpty();
    movie->setEditable(true);
    for (const char* name : {"a.mov", "b.mov"}) {
        const auto file = clip(folder.path(), name, 25);
        auto part = media::Movie::open(file);
        ASSERT_TRUE(part.has_value());
        EXPECT_TRUE(movie->insertSegment(**part, media::makeTimeRange(media::zeroTime(), (*part)->duration()),
                                         movie->duration()));
    }
    media::WriteOptions options;
    options.placement = media::WritePlacement::Referring;
    options.chapters = {{"One", media::makeTime(1, 1)}, {"Two", media::makeTime(1, 1)}};
    const auto file = folder.path() / "referring.mov";
    auto written = movie->write(file, options);
    ASSERT_TRUE(written.has_value()) << written.error().message;

    const double before = media::seconds((*media::Movie::open(file))->duration());
    ASSERT_TRUE(ScaleMovieFileToDuration(file, 3.0));
    auto reopened = media::Movie::open(file);
    ASSERT_TRUE(reopened.has_value()) << reopened.error().message;
    EXPECT_NEAR(media::seconds((*reopened)->duration()), 3.0, 0.041);
    // The video still refers to the clips; only the stretched sound is in the file.
    EXPECT_TRUE(media::quicktime::refersToOtherFiles(file));
    double videoEnd = 0;
    for (const auto& stream : oracle::probeStreams(file, {"-enable_drefs", "1", "-use_absolute_path", "1"}))
        if (stream.codecType == "video")
            videoEnd += stream.duration;
    EXPECT_NEAR(videoEnd, 3.0, 0.081) << "each clip's video lasts half as long again";
    const auto chapters = oracle::probeChapterList(file);
    ASSERT_EQ(chapters.size(), 2u);
    EXPECT_NEAR(chapters[1].start, 1.0 * 3.0 / before, 0.002);
}

} // namespace

namespace {

TEST(ScaleMovieFileToDurationTest, AReferenceMovieHoldingPartsOfItsOwnKeepsThem) {
    TemporaryFolder folder;
    auto movie = media::Movie::makeEmpty();
    movie->setEditable(true);
    for (const char* name : {"a.mov", "b.mkv"}) {
        auto part = media::Movie::open(clip(folder.path(), name, 25));
        ASSERT_TRUE(part.has_value());
        EXPECT_TRUE(movie->insertSegment(**part, media::makeTimeRange(media::zeroTime(), (*part)->duration()),
                                         movie->duration()));
    }
    media::WriteOptions options;
    options.placement = media::WritePlacement::Referring;
    const auto file = folder.path() / "mixed.mov";
    ASSERT_TRUE(movie->write(file, options).has_value());

    // The Matroska clip's samples are in the reference movie itself, which the
    // update replaces: they must be copied into the new file, not pointed at.
    ASSERT_TRUE(ScaleMovieFileToDuration(file, 4.0));
    EXPECT_TRUE(media::quicktime::refersToOtherFiles(file));
    auto reopened = media::Movie::open(file);
    ASSERT_TRUE(reopened.has_value()) << reopened.error().message;
    EXPECT_NEAR(media::seconds((*reopened)->duration()), 4.0, 0.041);
    for (const auto& stream : oracle::probeStreams(file, {"-enable_drefs", "1", "-use_absolute_path", "1"}))
        if (stream.codecType == "video") {
            EXPECT_EQ(stream.packets, 25);
        }
    // Still readable once the clip it held a copy of is gone.
    std::filesystem::remove(folder.path() / "b.mkv");
    auto again = media::Movie::open(file);
    ASSERT_TRUE(again.has_value());
    EXPECT_TRUE((*again)->frameImage(media::makeTime(3, 1)).has_value());
}

} // namespace
