// Stretching a written movie file to a wanted length. How the frames and the
// sound are retimed, and which files cannot be updated, is the media layer's
// (MovieUpdateTest); here, the length asked for, what is refused, and
// reference movies.

#include "join/MovieFileScaling.h"

#include "Ffprobe.h"
#include "MovieParts.h"
#include "MovieTiming.h"
#include "SharedClips.h"
#include "TestFolder.h"
#include "media/quicktime/ReferencedSource.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using join::scaleMovieFile;
using testing_support::contentsOf;

class MovieFileScalingTest : public ::testing::Test {
protected:
    // A copy of a one-second clip, of the container its name says.
    fs::path clip(const std::string& name) const {
        const std::string container = fs::path(name).extension().string().substr(1);
        return fs::copy_file(fixtures::test::h264AacClip(container, 25), m_folder / name) ? m_folder / name
                                                                                          : fs::path();
    }
    static double seconds(const fs::path& file) {
        return media::seconds(media_test::openMovie(file)->duration());
    }

    const testing_support::TestFolder m_folder;
};

TEST_F(MovieFileScalingTest, StretchesAndShrinksToTheLengthAskedFor) {
    for (const auto& [name, wanted] : {std::pair{"stretch.mov", 2.5}, std::pair{"shrink.mp4", 0.25}}) {
        SCOPED_TRACE(name);
        const auto file = clip(name);
        const media::Time before = media_test::openMovie(file)->duration();
        std::vector<double> told;
        ASSERT_TRUE(scaleMovieFile(file, wanted, [&](double done) {
            told.push_back(done);
            return true;
        }));
        ASSERT_FALSE(told.empty());
        EXPECT_TRUE(std::is_sorted(told.begin(), told.end()));
        EXPECT_EQ(told.back(), 1.0);
        const media::Time after = media_test::openMovie(file)->duration();
        EXPECT_LE(
            std::llabs(after.value - std::llround(wanted / media::seconds(before) * double(before.value))),
            after.scale / 25)
            << "within a frame of the computed length";
        EXPECT_NEAR(oracle::formatDuration(file), wanted, 0.041);
    }
}

TEST_F(MovieFileScalingTest, WhatCannotBeScaledIsLeftAsItWas) {
    EXPECT_FALSE(scaleMovieFile(m_folder / "missing.mov", 2.0));
    const auto text = m_folder.write("notes.mov", "not a movie");
    EXPECT_FALSE(scaleMovieFile(text, 2.0));
    EXPECT_EQ(contentsOf(text), "not a movie");
    const auto file = clip("clip.mov");
    const std::string original = contentsOf(file);
    for (const double wanted : {0.0, -1.0, 1e-9, std::numeric_limits<double>::infinity(),
                                std::numeric_limits<double>::quiet_NaN(), 1e300}) {
        EXPECT_FALSE(scaleMovieFile(file, wanted)) << wanted;
        EXPECT_EQ(contentsOf(file), original);
    }
    // Stopped in its first progress step: the file keeps what it held.
    const auto stopped = scaleMovieFile(file, 2.0, [](double) { return false; });
    ASSERT_FALSE(stopped.has_value());
    EXPECT_EQ(contentsOf(file), original);
    EXPECT_EQ(testing_support::namesIn(m_folder.path()).size(), 2u) << "nothing left behind";
}

// A reference movie stays one and keeps pointing at its sources; the samples
// of a source it holds itself (the Matroska clip's) are copied into the new
// file, since the update replaces the file they were in.
TEST_F(MovieFileScalingTest, AReferenceMovieStaysOneAndKeepsWhatItHolds) {
    for (const auto& [clips, name] : {std::pair{std::vector<std::string>{"a.mov", "b.mov"}, "referring.mov"},
                                      std::pair{std::vector<std::string>{"c.mov", "d.mkv"}, "mixed.mov"}}) {
        SCOPED_TRACE(name);
        media::WriteOptions options;
        options.placement = media::WritePlacement::Referring;
        std::vector<fs::path> files;
        for (const std::string& part : clips) {
            files.push_back(clip(part));
            options.chapters.push_back({QString::fromStdString(part), media::makeTime(1, 1)});
        }
        const auto file = m_folder / name;
        ASSERT_TRUE(media_test::joinedMovie(files)->write(file, options).has_value());
        const double before = seconds(file);
        ASSERT_TRUE(scaleMovieFile(file, 3.0));
        EXPECT_NEAR(seconds(file), 3.0, 0.041);
        EXPECT_TRUE(media::quicktime::refersToOtherFiles(file));
        double videoEnd = 0;
        for (const auto& stream :
             oracle::probeStreams(file, {"-enable_drefs", "1", "-use_absolute_path", "1"}))
            videoEnd += stream.codecType == "video" ? stream.duration : 0;
        EXPECT_NEAR(videoEnd, 3.0, 0.081) << "each clip's video lasts half as long again";
        const auto chapters = oracle::probeChapterList(file);
        ASSERT_EQ(chapters.size(), 2u);
        EXPECT_NEAR(chapters[1].start, 3.0 / before, 0.002);
    }
    // Still readable once the clip it held a copy of is gone.
    fs::remove(m_folder / "d.mkv");
    EXPECT_TRUE(media_test::openMovie(m_folder / "mixed.mov")->frameImage(media::makeTime(2, 1)).has_value());
}

} // namespace
