// Inserting and scaling segments: what lands in which track, where gaps go,
// and that lengths add up exactly.

#include "media/Movie.h"

#include "MediaFixtures.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using media::compareTimes;
using media::makeTime;
using media::MediaType;
using media::Movie;

class MovieEditingTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_dir = new QTemporaryDir();
        const std::filesystem::path dir = s_dir->path().toStdString();
        fixtures::ClipRecipe recipe;
        s_clip = new std::filesystem::path(fixtures::makeClip(dir, "clip.mp4", recipe));
        s_picture = new std::filesystem::path(fixtures::makePicture(dir, "still.png", 32, 24));
        s_sound = new std::filesystem::path(fixtures::makeSound(dir, "tone.wav", 8000, 1, 0.5));
    }
    static void TearDownTestSuite() {
        delete s_clip;
        delete s_picture;
        delete s_sound;
        delete s_dir;
    }

    static std::shared_ptr<Movie> open(const std::filesystem::path& path) { return *Movie::open(path); }

    static std::shared_ptr<Movie> editableEmpty() {
        auto movie = Movie::makeEmpty();
        movie->setEditable(true);
        return movie;
    }

    static void append(Movie& target, const Movie& source) {
        ASSERT_TRUE(target.insertSegment(source, media::makeTimeRange(media::zeroTime(), source.duration()),
                                         target.duration()));
    }

    static QTemporaryDir* s_dir;
    static std::filesystem::path* s_clip;
    static std::filesystem::path* s_picture;
    static std::filesystem::path* s_sound;
};

QTemporaryDir* MovieEditingTest::s_dir = nullptr;
std::filesystem::path* MovieEditingTest::s_clip = nullptr;
std::filesystem::path* MovieEditingTest::s_picture = nullptr;
std::filesystem::path* MovieEditingTest::s_sound = nullptr;

TEST_F(MovieEditingTest, AppendingAddsEachMoviesLengthAndKeepsTracksInStep) {
    auto clip = open(*s_clip);
    auto picture = open(*s_picture);
    auto sound = open(*s_sound);
    auto joined = editableEmpty();
    append(*joined, *sound);   // sound only: the video track starts with a gap later
    append(*joined, *clip);
    append(*joined, *picture); // no sound: the sound track gets a gap
    append(*joined, *clip);

    // 0.5 + 1 + 5 + 1 seconds, exactly.
    EXPECT_EQ(compareTimes(joined->duration(), makeTime(75, 10)), 0) << media::timeToString(joined->duration());
    ASSERT_EQ(joined->tracksOfType(MediaType::Video).size(), 1u);
    ASSERT_EQ(joined->tracksOfType(MediaType::Sound).size(), 1u);
    for (const media::Track& track : joined->tracks())
        EXPECT_EQ(compareTimes(track.duration(), makeTime(75, 10)), 0) << media::mediaTypeName(track.mediaType);

    // The video track: a gap for the sound file, then clip, picture, clip.
    const media::Track& video = *joined->tracksOfType(MediaType::Video)[0];
    ASSERT_GE(video.edits.size(), 4u);
    EXPECT_FALSE(video.edits[0].source);
    EXPECT_EQ(compareTimes(video.edits[0].duration, makeTime(1, 2)), 0);
    EXPECT_EQ(joined->frameCount(), 25 + 1 + 25);
    EXPECT_EQ(joined->naturalSize(), (media::Size{160, 120}));

    // The frame shown 2 seconds in is the picture's.
    auto image = joined->frameImage(makeTime(3, 1));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->size(), QSize(32, 24));
}

TEST_F(MovieEditingTest, InsertingInTheMiddleSplitsEdits) {
    auto clip = open(*s_clip);
    auto picture = open(*s_picture);
    auto movie = editableEmpty();
    append(*movie, *picture);
    ASSERT_TRUE(movie->insertSegment(*clip, media::makeTimeRange(makeTime(1, 4), makeTime(1, 2)), makeTime(2, 1)));
    EXPECT_EQ(compareTimes(movie->duration(), makeTime(55, 10)), 0);
    const media::Track& video = *movie->tracksOfType(MediaType::Video)[0];
    ASSERT_EQ(video.edits.size(), 3u);
    EXPECT_EQ(compareTimes(video.edits[0].duration, makeTime(2, 1)), 0);
    EXPECT_EQ(compareTimes(video.edits[1].sourceRange.start, makeTime(1, 4)), 0);
    EXPECT_EQ(compareTimes(video.edits[2].duration, makeTime(3, 1)), 0);
    // Half a second of the clip holds 12 or 13 of its frames (25 fps).
    EXPECT_GE(movie->frameCount(), 1 + 12);
    EXPECT_LE(movie->frameCount(), 1 + 13);
}

TEST_F(MovieEditingTest, ScalingStretchesEveryTrackExactly) {
    auto clip = open(*s_clip);
    auto movie = editableEmpty();
    append(*movie, *clip);
    append(*movie, *clip);
    ASSERT_TRUE(movie->scaleSegment(media::makeTimeRange(media::zeroTime(), movie->duration()), makeTime(3, 1)));
    EXPECT_EQ(compareTimes(movie->duration(), makeTime(3, 1)), 0) << media::timeToString(movie->duration());
    for (const media::Track& track : movie->tracks())
        EXPECT_EQ(compareTimes(track.duration(), makeTime(3, 1)), 0);
    // Frames stay the same; they are shown longer.
    EXPECT_EQ(movie->frameCount(), 50);
}

TEST_F(MovieEditingTest, RefusesEditsOfMoviesThatAreNotEditable) {
    auto clip = open(*s_clip);
    auto movie = Movie::makeEmpty();
    EXPECT_FALSE(movie->insertSegment(*clip, media::makeTimeRange(media::zeroTime(), clip->duration()),
                                      media::zeroTime()));
    EXPECT_FALSE(clip->scaleSegment(media::makeTimeRange(media::zeroTime(), clip->duration()), makeTime(2, 1)));
    movie->setEditable(true);
    EXPECT_FALSE(movie->insertSegment(*clip, media::makeTimeRange(media::zeroTime(), clip->duration()),
                                      makeTime(-1, 1)));
    EXPECT_TRUE(movie->tracks().empty());
}

} // namespace
