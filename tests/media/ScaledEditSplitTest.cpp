// Splitting an edit that plays its source range faster or slower (a picture
// shown for seconds, a scaled clip) keeps both parts inside that range: the
// first starts where the edit did (not at INT64_MIN), the second at the split.

#include "MediaFixtures.h"
#include "media/Movie.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using namespace media;

struct SplitCase final {
    const char* name;
    bool picture;        // a still picture, else a one-second clip
    double scaledTo;     // seconds the source is shown for before the split (0: as opened)
    double splitAt;      // seconds into the movie where another clip is inserted
    double secondStarts; // seconds into the source where the second part starts
};

class ScaledEditSplitTest : public ::testing::TestWithParam<SplitCase> {};
TEST_P(ScaledEditSplitTest, BothPartsStayInTheirSource) {
    const SplitCase split = GetParam();
    QTemporaryDir dir;
    const std::filesystem::path folder = dir.path().toStdString();
    fixtures::ClipRecipe recipe;
    const auto clip = *Movie::open(fixtures::makeClip(folder, "clip.mp4", recipe));
    const auto shown = *Movie::open(split.picture ? fixtures::makePicture(folder, "still.png", 32, 24)
                                                  : fixtures::makeClip(folder, "shown.mp4", recipe));
    auto movie = Movie::makeEmpty();
    movie->setEditable(true);
    ASSERT_TRUE(movie->insertSegment(*shown, makeTimeRange(zeroTime(), shown->duration()), zeroTime()));
    if (split.scaledTo > 0) {
        ASSERT_TRUE(movie->scaleSegment(makeTimeRange(zeroTime(), movie->duration()),
                                        makeTime(std::llround(split.scaledTo * 600), 600)));
    }
    ASSERT_TRUE(movie->insertSegment(*clip, makeTimeRange(zeroTime(), clip->duration()),
                                     makeTime(std::llround(split.splitAt * 600), 600)));

    for (std::size_t i = 0; i < shown->tracks().size(); ++i) {
        const Track& track = movie->tracks()[i];
        SCOPED_TRACE(track.mediaType == MediaType::Video ? "picture" : "sound");
        ASSERT_GE(track.edits.size(), 3u);
        const Edit& first = track.edits.front();
        const Edit& second = track.edits.back();
        ASSERT_TRUE(first.source && first.source == second.source);
        EXPECT_NEAR(seconds(first.sourceRange.start), 0, 0.001);
        EXPECT_NEAR(seconds(second.sourceRange.start), split.secondStarts, 0.001);
        const double sourceEnd = seconds(second.sourceRange.start) + seconds(second.sourceRange.duration);
        EXPECT_NEAR(sourceEnd, seconds(shown->tracks()[i].edits.back().sourceRange.duration), 0.002);
    }
}

// A picture's edit shows one unit of its stream for five seconds; the clip
// lasts one second (25 frames at 25 fps), shown in two.
INSTANTIATE_TEST_SUITE_P(Edits, ScaledEditSplitTest,
                         ::testing::Values(SplitCase{"Picture", true, 0, 2, 0},
                                           SplitCase{"SlowedClip", false, 2, 1, 0.5}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
