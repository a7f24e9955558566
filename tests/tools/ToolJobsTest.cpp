// The viewer's tools: pieces named beside the source.

#include "tools/SplitPieceNames.h"

#include <gtest/gtest.h>

namespace {

TEST(ToolJobsTest, PiecesAreNamedAfterTheSourceAndTheirStartTimes) {
    const auto paths = tools::splitPiecePaths("/movies/My Trip.mov",
                                              {media::makeTime(90, 1), media::makeTime(12345, 600)});
    ASSERT_EQ(paths.size(), 3u);
    EXPECT_EQ(paths[0], "/movies/My Trip [0-00-00-00.0-1].mov");
    EXPECT_EQ(paths[1], "/movies/My Trip [0-00-01-30.0-1].mov");
    EXPECT_EQ(paths[2], "/movies/My Trip [0-00-00-20.345-600].mov");
}

} // namespace
