#include "media/filters/FilteredMovie.h"

#include "MediaFixtures.h"
#include "PictureDifference.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

using media::filters::FilteredFrameReader;
using testing_support::meanDifference;

TEST(FilteredFrameReaderTest, ThePreviewShowsTheFramesTheRenderedFileHolds) {
    testing_support::TestFolder folder;
    fixtures::quietFfmpegLogs();
    const auto source = fixtures::makeClip(folder.path(), "source.mp4", {.width = 320, .height = 240});
    const QStringList chain{"CITwirlDistortion", "CIColorInvert"};
    ASSERT_TRUE(media::filters::renderFilteredMovie({source, folder / "out.mp4", chain}, [](double) { return true; }));

    auto preview = FilteredFrameReader::open(source);
    auto rendered = FilteredFrameReader::open(folder / "out.mp4");
    ASSERT_TRUE(preview && rendered);
    EXPECT_NEAR((*preview)->duration(), 1.0, 0.05);
    (*preview)->setFilters(chain);
    ASSERT_TRUE((*preview)->seek(0.5));
    ASSERT_TRUE((*rendered)->seek(0.5));
    const auto shown = (*preview)->next();
    const auto held = (*rendered)->next();
    ASSERT_TRUE(shown && *shown && held && *held);
    EXPECT_NEAR((*shown)->seconds, 0.48, 0.001); // the frame showing at 0.5 s began at frame 12
    EXPECT_NEAR((*held)->seconds, (*shown)->seconds, 0.001);
    EXPECT_LT(meanDifference((*shown)->image, (*held)->image), 3.0); // the encoder's loss only

    // Unfiltered, the same frame differs plainly.
    (*preview)->setFilters({});
    ASSERT_TRUE((*preview)->seek(0.5));
    const auto plain = (*preview)->next();
    ASSERT_TRUE(plain && *plain);
    EXPECT_GT(meanDifference((*plain)->image, (*held)->image), 30.0);

    // Reading on reaches the end.
    int frames = 0;
    for (;;) {
        const auto frame = (*preview)->next();
        ASSERT_TRUE(frame);
        if (!*frame)
            break;
        ++frames;
    }
    EXPECT_EQ(frames, 12); // frames 13 to 24
}
