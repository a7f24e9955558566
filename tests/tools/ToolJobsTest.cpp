// The viewer's tools as jobs: pieces named beside the source, a split run on
// a worker thread with its progress, and a cancelled sound extraction that
// ends as cancelled and leaves no file.

#include "CoreApplication.h"
#include "SharedClips.h"
#include "TestFolder.h"
#include "tools/SaveSoundJob.h"
#include "tools/SplitMovieJob.h"
#include "tools/SplitPieceNames.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

namespace {

void waitUntilFinished(support::Job& job) {
    while (job.isRunning())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
    QCoreApplication::processEvents();
}

TEST(ToolJobsTest, PiecesAreNamedAfterTheSourceAndTheirStartTimes) {
    const auto paths = tools::splitPiecePaths("/movies/My Trip.mov",
                                              {media::makeTime(90, 1), media::makeTime(12345, 600)});
    ASSERT_EQ(paths.size(), 3u);
    EXPECT_EQ(paths[0], "/movies/My Trip [0-00-00-00.0-1].mov");
    EXPECT_EQ(paths[1], "/movies/My Trip [0-00-01-30.0-1].mov");
    EXPECT_EQ(paths[2], "/movies/My Trip [0-00-00-20.345-600].mov");
}

TEST(ToolJobsTest, SplitRunsOnAWorkerAndReportsProgress) {
    testing_support::ensureCoreApplication();
    testing_support::TestFolder folder;
    const auto movie = fixtures::test::h264AacClip("mp4", 100);
    tools::SplitMovieJob job({movie, {media::makeTime(2, 1)}, {folder / "a.mov", folder / "b.mov"}});
    double last = -1;
    QObject::connect(&job, &support::Job::progressChanged, [&](double fraction, const QString&) { last = fraction; });
    bool succeeded = false;
    QObject::connect(&job, &support::Job::finished, [&](bool ok) { succeeded = ok; });
    job.start();
    waitUntilFinished(job);
    EXPECT_TRUE(succeeded);
    EXPECT_DOUBLE_EQ(last, 1.0);
    EXPECT_TRUE(std::filesystem::exists(folder / "a.mov"));
    EXPECT_TRUE(std::filesystem::exists(folder / "b.mov"));
}

TEST(ToolJobsTest, CancelledSoundLeavesNoFile) {
    testing_support::ensureCoreApplication();
    testing_support::TestFolder folder;
    const auto movie = fixtures::test::h264AacClip("mov", 1500);
    tools::SaveSoundJob job({movie, folder / "s.aiff"});
    job.start();
    job.cancel();
    waitUntilFinished(job);
    ASSERT_TRUE(job.error().has_value());
    EXPECT_EQ(job.error()->code, ECANCELED);
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));

    tools::SaveSoundJob whole({movie, folder / "s.aiff"});
    ASSERT_TRUE(whole.runHere().has_value());
    EXPECT_TRUE(whole.outcome().messages.isEmpty());
    EXPECT_EQ(whole.outcome().copies.size(), 2u);
    EXPECT_NEAR(static_cast<double>(whole.outcome().sound.frames), 1500 * 44100 / 25, 2048);
}

} // namespace
