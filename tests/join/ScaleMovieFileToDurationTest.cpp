// Stretching a written movie file to a wanted length.

#include "join/ScaleMovieFileToDuration.h"

#include "FileContents.h"
#include "Ffprobe.h"
#include "MediaFixtures.h"
#include "MovieTiming.h"
#include "TemporaryFolder.h"
#include "media/Movie.h"
#include "media/quicktime/ReferencedSource.h"

#include <fstream>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using join::ScaleMovieFileToDuration;
using testing_support::contentsOf;

class ScaleMovieFileToDurationTest : public ::testing::Test {
protected:
    fs::path clip(const std::string& name, int frames) {
        fixtures::ClipRecipe recipe;
        recipe.container = fs::path(name).extension().string().substr(1);
        recipe.frames = frames;
        return fixtures::makeClip(m_folder.path(), name, recipe);
    }
    // The one-second clips joined into `name`, a chapter per clip.
    fs::path join(const std::vector<std::string>& clips, const std::string& name,
                  media::WritePlacement placement) {
        auto movie = media::Movie::makeEmpty();
        movie->setEditable(true);
        media::WriteOptions options;
        options.placement = placement;
        for (const std::string& part : clips) {
            auto opened = media::Movie::open(clip(part, 25));
            EXPECT_TRUE(opened.has_value());
            EXPECT_TRUE(movie->insertSegment(
                **opened, media::makeTimeRange(media::zeroTime(), (*opened)->duration()), movie->duration()));
            options.chapters.push_back({QString::fromStdString(part), media::makeTime(1, 1)});
        }
        const fs::path file = m_folder.path() / name;
        const auto written = movie->write(file, options);
        EXPECT_TRUE(written.has_value()) << written.error().message;
        return file;
    }
    static double seconds(const fs::path& file) {
        auto movie = media::Movie::open(file);
        EXPECT_TRUE(movie.has_value()) << file;
        return movie ? media::seconds((*movie)->duration()) : 0;
    }

    fixtures::test::TemporaryFolder m_folder;
};

TEST_F(ScaleMovieFileToDurationTest, StretchesAndShrinksKeepingSoundWithPicture) {
    for (const auto& [name, wanted] : {std::pair{"stretch.mov", 2.5}, std::pair{"shrink.mp4", 0.25}}) {
        SCOPED_TRACE(name);
        const auto file = clip(name, 25);
        const media::Time before = (*media::Movie::open(file))->duration();
        const auto promised = static_cast<std::int64_t>(
            wanted / (static_cast<double>(before.value) / before.scale) * static_cast<double>(before.value));
        ASSERT_TRUE(ScaleMovieFileToDuration(file, wanted));

        const media::Time after = (*media::Movie::open(file))->duration();
        EXPECT_LE(std::llabs(after.value - promised), after.scale / 25)
            << "within a frame of the computed length";
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
    const auto sound = fixtures::makeSound(m_folder.path(), "tone.mov", 48000, 1, 1.0);
    ASSERT_TRUE(ScaleMovieFileToDuration(sound, 3.0));
    EXPECT_NEAR(oracle::formatDuration(sound), 3.0, 0.03) << "sound alone stretches too";
}

TEST_F(ScaleMovieFileToDurationTest, WhatCannotBeScaledIsLeftAsItWas) {
    EXPECT_FALSE(ScaleMovieFileToDuration(m_folder.path() / "missing.mov", 2.0));
    const auto text = m_folder.path() / "notes.mov";
    std::ofstream(text) << "not a movie";
    EXPECT_FALSE(ScaleMovieFileToDuration(text, 2.0));
    EXPECT_EQ(contentsOf(text), "not a movie");

    const auto file = clip("clip.mov", 10);
    const std::string original = contentsOf(file);
    for (const double wanted : {0.0, -1.0, 1e-9, std::numeric_limits<double>::infinity(),
                                std::numeric_limits<double>::quiet_NaN(), 1e300}) {
        EXPECT_FALSE(ScaleMovieFileToDuration(file, wanted)) << wanted;
        EXPECT_EQ(contentsOf(file), original);
    }
    // Matroska is re-encoded on writing, which cannot scale: the file stays.
    const auto mkv = clip("clip.mkv", 10);
    const std::string mkvBytes = contentsOf(mkv);
    EXPECT_FALSE(ScaleMovieFileToDuration(mkv, 2.0));
    EXPECT_EQ(contentsOf(mkv), mkvBytes);
    EXPECT_EQ(std::distance(fs::directory_iterator(m_folder.path()), {}), 3) << "nothing left behind";
}

// A reference movie stays one and keeps pointing at its sources; the samples
// of a source it holds itself (the Matroska clip's) are copied into the new
// file, since the update replaces the file they were in.
TEST_F(ScaleMovieFileToDurationTest, AReferenceMovieStaysOneAndKeepsWhatItHolds) {
    for (const auto& [clips, name] : {std::pair{std::vector<std::string>{"a.mov", "b.mov"}, "referring.mov"},
                                      std::pair{std::vector<std::string>{"c.mov", "d.mkv"}, "mixed.mov"}}) {
        SCOPED_TRACE(name);
        const auto file = join(clips, name, media::WritePlacement::Referring);
        const double before = seconds(file);
        ASSERT_TRUE(ScaleMovieFileToDuration(file, 3.0));
        EXPECT_NEAR(seconds(file), 3.0, 0.041);
        EXPECT_TRUE(media::quicktime::refersToOtherFiles(file));
        double videoEnd = 0;
        for (const auto& stream :
             oracle::probeStreams(file, {"-enable_drefs", "1", "-use_absolute_path", "1"}))
            if (stream.codecType == "video") {
                videoEnd += stream.duration;
                EXPECT_EQ(stream.packets, 25);
            }
        EXPECT_NEAR(videoEnd, 3.0, 0.081) << "each clip's video lasts half as long again";
        const auto chapters = oracle::probeChapterList(file);
        ASSERT_EQ(chapters.size(), 2u);
        EXPECT_NEAR(chapters[1].start, 3.0 / before, 0.002);
    }
    // Still readable once the clip it held a copy of is gone.
    fs::remove(m_folder.path() / "d.mkv");
    auto again = media::Movie::open(m_folder.path() / "mixed.mov");
    ASSERT_TRUE(again.has_value());
    EXPECT_TRUE((*again)->frameImage(media::makeTime(2, 1)).has_value());
}

} // namespace
