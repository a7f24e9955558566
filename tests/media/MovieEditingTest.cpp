// Inserting and scaling segments: what lands in which track, where gaps go,
// and that lengths add up exactly.

#include "MovieParts.h"
#include "SharedClips.h"
#include "media/Movie.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

using media::compareTimes;
using media::makeTime;
using media::MediaType;
using media::Movie;
using media_test::appendWhole;
using media_test::openMovie;

struct Sources final {
    std::shared_ptr<Movie> clip = openMovie(fixtures::test::h264AacClip("mp4", 25));
    std::shared_ptr<Movie> picture =
        openMovie(fixtures::makePicture(fixtures::test::scratchFolder("editing"), "still.png", 32, 24));
    std::shared_ptr<Movie> sound = openMovie(
        fixtures::makeSound(fixtures::test::scratchFolder("editing-sound"), "tone.wav", 8000, 1, 0.5));
};

std::shared_ptr<Movie> editableEmpty() {
    auto movie = Movie::makeEmpty();
    movie->setEditable(true);
    return movie;
}

TEST(MovieEditingTest, AppendingAddsEachMoviesLengthAndKeepsTracksInStep) {
    const Sources s;
    auto joined = editableEmpty();
    appendWhole(*joined, *s.sound); // sound only: the video track starts with a gap later
    appendWhole(*joined, *s.clip);
    appendWhole(*joined, *s.picture); // no sound: the sound track gets a gap
    appendWhole(*joined, *s.clip);
    // 0.5 + 1 + 5 + 1 seconds, exactly.
    EXPECT_EQ(compareTimes(joined->duration(), makeTime(75, 10)), 0)
        << media::timeToString(joined->duration());
    ASSERT_EQ(joined->tracksOfType(MediaType::Video).size(), 1u);
    ASSERT_EQ(joined->tracksOfType(MediaType::Sound).size(), 1u);
    for (const media::Track& track : joined->tracks())
        EXPECT_EQ(compareTimes(track.duration(), makeTime(75, 10)), 0)
            << media::mediaTypeName(track.mediaType);
    // The video track: a gap for the sound file, then clip, picture, clip.
    const media::Track& video = *joined->tracksOfType(MediaType::Video)[0];
    ASSERT_GE(video.edits.size(), 4u);
    EXPECT_FALSE(video.edits[0].source);
    EXPECT_EQ(compareTimes(video.edits[0].duration, makeTime(1, 2)), 0);
    EXPECT_EQ(joined->frameCount(), 25 + 1 + 25);
    EXPECT_EQ(joined->naturalSize(), (media::Size{160, 120}));
    // The frame shown 3 seconds in is the picture's.
    auto image = joined->frameImage(makeTime(3, 1));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->size(), QSize(32, 24));
}

TEST(MovieEditingTest, ScalingStretchesEveryTrackExactly) {
    const Sources s;
    auto movie = editableEmpty();
    appendWhole(*movie, *s.clip);
    appendWhole(*movie, *s.clip);
    ASSERT_TRUE(
        movie->scaleSegment(media::makeTimeRange(media::zeroTime(), movie->duration()), makeTime(3, 1)));
    EXPECT_EQ(compareTimes(movie->duration(), makeTime(3, 1)), 0) << media::timeToString(movie->duration());
    for (const media::Track& track : movie->tracks())
        EXPECT_EQ(compareTimes(track.duration(), makeTime(3, 1)), 0);
    EXPECT_EQ(movie->frameCount(), 50) << "frames stay the same; they are shown longer";
}

// Inserting part of a clip into an edit that plays its source range faster or
// slower (a picture shown for seconds, a scaled clip) splits it into two parts
// inside that range: the first starts where the edit did (not at INT64_MIN),
// the second at the split.
TEST(MovieEditingTest, SplittingAScaledEditKeepsBothPartsInTheirSource) {
    const Sources s;
    const struct {
        std::shared_ptr<Movie> shown;
        double scaledTo;     // seconds the source is shown for before the split (0: as opened)
        double splitAt;      // seconds into the movie where another clip is inserted
        double secondStarts; // seconds into the source where the second part starts
    } cases[] = {{s.picture, 0, 2, 0}, {s.clip, 2, 1, 0.5}}; // a picture shows for five seconds
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scaledTo > 0 ? "scaled clip" : "picture");
        auto movie = editableEmpty();
        appendWhole(*movie, *c.shown);
        if (c.scaledTo > 0)
            media_test::scaleWhole(*movie, c.scaledTo);
        // Half a second from a quarter second into the clip.
        ASSERT_TRUE(movie->insertSegment(*s.clip, media::makeTimeRange(makeTime(1, 4), makeTime(1, 2)),
                                         makeTime(std::llround(c.splitAt * 600), 600)));
        EXPECT_NEAR(media::seconds(movie->duration()), (c.scaledTo > 0 ? c.scaledTo : 5) + 0.5, 0.001);
        for (std::size_t i = 0; i < c.shown->tracks().size(); ++i) {
            const media::Track& track = movie->tracks()[i];
            SCOPED_TRACE(media::mediaTypeName(track.mediaType));
            ASSERT_GE(track.edits.size(), 3u);
            const media::Edit& first = track.edits.front();
            const media::Edit& second = track.edits.back();
            ASSERT_TRUE(first.source && first.source == second.source);
            EXPECT_EQ(compareTimes(track.edits[1].sourceRange.start, makeTime(1, 4)), 0);
            EXPECT_NEAR(media::seconds(first.sourceRange.start), 0, 0.001);
            EXPECT_NEAR(media::seconds(second.sourceRange.start), c.secondStarts, 0.001);
            EXPECT_NEAR(media::seconds(second.sourceRange.start) +
                            media::seconds(second.sourceRange.duration),
                        media::seconds(c.shown->tracks()[i].edits.back().sourceRange.duration), 0.002);
        }
    }
}

TEST(MovieEditingTest, RefusesEditsOfMoviesThatAreNotEditable) {
    const Sources s;
    const auto whole = media::makeTimeRange(media::zeroTime(), s.clip->duration());
    auto movie = Movie::makeEmpty();
    EXPECT_FALSE(movie->insertSegment(*s.clip, whole, media::zeroTime()));
    EXPECT_FALSE(s.clip->scaleSegment(whole, makeTime(2, 1)));
    movie->setEditable(true);
    EXPECT_FALSE(movie->insertSegment(*s.clip, whole, makeTime(-1, 1)));
    EXPECT_TRUE(movie->tracks().empty());
}

} // namespace
