// A movie that refers to its sources: tiny, FFmpeg's reader (following the
// alias records) reads each source's packets from it, placed in time, and it
// opens as a movie of the joined length showing the sources' pictures.

#include "Ffprobe.h"
#include "JoinChecks.h"
#include "MovieParts.h"
#include "MovieTiming.h"
#include "SharedClips.h"
#include "media/quicktime/QuickTimeFileWriter.h"

#include <gtest/gtest.h>

namespace {

using namespace media::quicktime;

TEST(ReferringMovieTest, IsSmallReadsAsTheSourcesPacketsAndOpensAsTheJoinedMovie) {
    const std::vector<std::filesystem::path> clips{fixtures::test::h264AacClip("mov", 25),
                                                   fixtures::test::h264AacClip("mov", 30)};
    auto request = quicktime_test::joinRequest(clips, OutputKind::QuickTime, DataPlacement::Referring);
    request.chapters = {{"One", 600}, {"Two", 720}};
    const auto output = fixtures::test::scratchFolder("referring") / "referring.mov";
    auto written = writeQuickTimeFile(output, request);
    ASSERT_TRUE(written.has_value()) << written.error().message;
    EXPECT_LT(std::filesystem::file_size(output) * 4,
              std::filesystem::file_size(clips[0]) + std::filesystem::file_size(clips[1]));
    // Each source has a video and a sound track of its own, placed after the sources before it.
    const std::vector<std::string> followReferences{"-enable_drefs", "1", "-use_absolute_path", "1"};
    double start = 0;
    for (std::size_t s = 0; s < clips.size(); ++s) {
        SCOPED_TRACE("source " + std::to_string(s));
        for (const std::string kind : {"v", "a"})
            quicktime_test::expectJoinedStreams({clips[s]}, output, kind, followReferences,
                                                kind + ":" + std::to_string(s), start);
        start += oracle::formatDuration(clips[s]);
    }
    const auto chapters = oracle::probeChapterList(output);
    ASSERT_EQ(chapters.size(), 2u);
    EXPECT_EQ(chapters[1].title, "Two");
    EXPECT_EQ(chapters[1].startUnits, 600);
    auto movie = media_test::openMovie(output);
    EXPECT_EQ(movie->tracksOfType(media::MediaType::Video).size(), 2u) << "one video track per source";
    // FFmpeg 5.1 gives a track that starts with an empty edit its whole media
    // duration, priming included, so the last sound track may read one AAC
    // frame (23 ms) long.
    EXPECT_NEAR(media::seconds(movie->duration()), 2.2, 0.025);
    // Its pictures, read through the alias records, are the source's own.
    const auto image = movie->frameImage(media::makeTime(1, 2));
    const auto expected = media_test::openMovie(clips[0])->frameImage(media::makeTime(1, 2));
    ASSERT_TRUE(image && expected);
    EXPECT_EQ(*image, *expected);
}

} // namespace
