// The Join command: where the joined movie goes, which entries it takes, what
// the user is told during the write and afterwards (also when it fails), and
// the job runner that shows a write's progress. The output folder commands
// are driven through the preferences window (PreferencesWindowTest).

#include "AppHarness.h"
#include "filelist/ListEdits.h"
#include "Ffprobe.h"
#include "MovieTiming.h"
#include "app/CommandRequests.h"

#include <QRegularExpression>
#include <cmath>

namespace {

namespace fs = std::filesystem;

class JoinButtonTest : public testing_support::AppHarness {};

TEST_F(JoinButtonTest, DefaultNamesInTheOutputFolderWithoutAsking) {
    const fs::path out = dir() / "out";
    setOutputFolder(out);
    defaults().setValue(support::Pref::PromptForFilename, false);
    list().addFiles({picture("Holiday.png"), picture("Ice.png"), picture("Kite.png")});
    const auto first = join();
    ASSERT_EQ(first.status, Status::Written);
    EXPECT_EQ(first.path, out / "Holiday and 2 others.mov");
    EXPECT_TRUE(m_statuses.contains("Finished processing movies!"));
    const auto second = join(); // the name is taken: a stamped one
    EXPECT_TRUE(second.path.filename().string().starts_with("Holiday and 2 others-[")) << second.path;
    EXPECT_TRUE(fs::exists(first.path) && fs::exists(second.path));
    EXPECT_TRUE(m_saveQuestions.empty());
}

TEST_F(JoinButtonTest, TheSavePanelAsksWithoutAnOutputFolderOrWhenPrompting) {
    defaults().setValue(support::Pref::PromptForFilename, false);
    list().addFiles({picture("Trip.png")});
    EXPECT_EQ(join().status, Status::NotSaved) << "the panel was cancelled";
    ASSERT_EQ(m_saveQuestions.size(), 1u);
    EXPECT_EQ(m_saveQuestions[0].suggestedName, "Trip and 0 others.mov");
    EXPECT_FALSE(m_saveQuestions[0].folder);
    const fs::path out = dir() / "out";
    setOutputFolder(out);
    defaults().setValue(support::Pref::PromptForFilename, true);
    list().nameOutputAfter(dir() / "Trip", true); // as adding a folder named Trip does
    m_saveAnswer = out / "chosen.mov";
    ASSERT_EQ(join().status, Status::Written);
    EXPECT_EQ(m_saveQuestions[1].folder, out);
    EXPECT_EQ(m_saveQuestions[1].suggestedName, "Trip.mov") << "a folder's name has no count";
    EXPECT_TRUE(fs::exists(out / "chosen.mov"));
}

// A listed file deleted before the join: refused with its name (how a refused
// join ends is the next test's); once its row is removed, the others join with
// their own titles.
TEST_F(JoinButtonTest, ADeletedEntryIsRefusedAndTitlesStayWithTheirMovies) {
    if (!oracle::ffprobeAvailable())
        GTEST_SKIP() << "ffprobe is not installed";
    fixtures::ClipRecipe recipe{.audioCodec = ""};
    std::vector<fs::path> clips;
    for (int frames : {25, 50, 75}) {
        recipe.frames = frames;
        clips.push_back(fixtures::makeClip(dir(), std::to_string(frames) + ".mp4", recipe));
    }
    list().addFiles(clips);
    for (int i = 0; i < 3; ++i)
        filelist::setTitle(list(), i, QStringList{"One", "Two", "Three"}[i]);
    fs::remove(clips[1]);
    m_saveAnswer = dir() / "joined.mov";
    EXPECT_EQ(join().status, Status::NothingToJoin);
    ASSERT_FALSE(m_notices.empty());
    EXPECT_TRUE(informativeOf(lastNotice()).startsWith("50.mp4\n"));
    list().removeRows({1});
    ASSERT_EQ(join().status, Status::Written);
    const auto found = oracle::probeChapterList(dir() / "joined.mov");
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].title, "One");
    EXPECT_EQ(found[1].title, "Three");
    EXPECT_NEAR(found[1].start, 1.0, 0.05);
    EXPECT_NEAR(oracle::formatDuration(dir() / "joined.mov"), 4.0, 0.1);
}

// Each way a join ends without a movie: told once with a reason, nothing
// written or replaced, no job left running.
TEST_F(JoinButtonTest, AJoinThatWritesNothingIsToldOnceAndLeavesNothingBehind) {
    const fs::path a = picture("a.png"), gone = picture("gone.png");
    const auto sizeOfA = fs::file_size(a);
    const struct {
        std::vector<fs::path> files;
        fs::path target;
        Status status;
        QString message;
    } cases[] = {{{gone}, dir() / "x.mov", Status::NothingToJoin, "The movie was not joined: a listed file is missing."},
                 {{a, picture("b.png")}, a, Status::NotSaved, {}},
                 {{a}, dir() / "missing" / "x.mov", Status::WriteFailed, "The movie could not be saved."}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target.string() + " from " + std::to_string(c.files.size()));
        relaunch();
        filelist::clearAll(list());
        list().addFiles(c.files);
        fs::remove(gone);
        m_saveAnswer = c.target;
        m_statuses.clear();
        const std::size_t notices = m_notices.size();
        EXPECT_EQ(join().status, c.status);
        ASSERT_EQ(m_notices.size(), notices + 1);
        EXPECT_TRUE(c.message.isEmpty() || messageOf(lastNotice()) == c.message)
            << messageOf(lastNotice()).toStdString();
        EXPECT_FALSE(informativeOf(lastNotice()).trimmed().isEmpty()) << "the reason";
        EXPECT_FALSE(fs::exists(dir() / "x.mov") || fs::exists(dir() / "missing"));
        EXPECT_EQ(fs::file_size(a), sizeOfA);
        EXPECT_FALSE(m_statuses.contains("Finished processing movies!"));
        EXPECT_FALSE(m_jobs->isRunning());
    }
}

// A chosen name without extension gets ".mov" after the scaling.
TEST_F(JoinButtonTest, ScalesTheWrittenFileBeforeTheExtensionIsAdded) {
    defaults().setValue(support::Pref::DesiredDuration, 12.5);
    list().addFiles({picture("a.png")});
    m_saveAnswer = dir() / "scaled";
    const auto outcome = join();
    EXPECT_EQ(outcome.status, Status::Written);
    EXPECT_EQ(outcome.scaled, true);
    EXPECT_EQ(outcome.path, dir() / "scaled.mov");
    EXPECT_NEAR(media::seconds(media::Movie::open(outcome.path).value()->duration()), 12.5, 0.01);
    EXPECT_FALSE(fs::exists(dir() / "scaled"));
    // A length too short for the movie's time scale: still written, and the outcome says it was not scaled.
    defaults().setValue(support::Pref::DesiredDuration, 1e-6);
    m_saveAnswer = dir() / "unscaled.mov";
    const auto unscaled = join();
    EXPECT_EQ(unscaled.scaled, false);
    EXPECT_TRUE(fs::exists(unscaled.path));
    defaults().setValue(support::Pref::DesiredDuration, 0);
    m_saveAnswer = dir() / "plain.mov";
    EXPECT_FALSE(join().scaled) << "0 means no scaling";
}

// A job that reports half its work, then a fraction it cannot know.
class SteppedJob final : public support::Job {
    std::expected<void, media::Error> run() override {
        reportProgress(0.5, "Halfway");
        reportProgress(std::nan(""), "Unknown");
        return {};
    }
};

// What the job runner tells of a write: its title, the fraction with the time
// line, its phases, its end; one job at a time.
using WriteProgressTest = JoinButtonTest;

TEST_F(WriteProgressTest, TitleFractionTimeLineAndEndInOrder) {
    QStringList told;
    QObject::connect(m_jobs.get(), &app::JobRunner::started, [&](const QString& title) { told << "start " + title; });
    QObject::connect(m_jobs.get(), &app::JobRunner::progressed, [&](double fraction, const QString& timeLine) {
        told << QString::number(fraction) + " " + timeLine;
    });
    QObject::connect(m_jobs.get(), &app::JobRunner::phaseChanged, [&](const QString& phase) { told << phase; });
    QObject::connect(m_jobs.get(), &app::JobRunner::ended, [&] { told << "end"; });
    bool finished = false;
    ASSERT_TRUE(m_jobs->start(std::make_unique<SteppedJob>(), "Saving movie ", [&] { finished = true; }));
    EXPECT_FALSE(m_jobs->start(std::make_unique<SteppedJob>(), "second", {})) << "one job at a time";
    m_clock += 40;
    waitUntil([&] { return finished; });
    EXPECT_EQ(told, (QStringList{"start Saving movie ", "Halfway",
                                 "0.5 Elapsed Time: 40 secs, Est. Time Remaining: 40 secs", "Unknown",
                                 "0 Elapsed Time: 40 secs, Est. Time Remaining: 0 secs", "end"}))
        << told.join(" | ").toStdString();
    EXPECT_FALSE(m_jobs->isRunning());
}

// Cancel at the first progress step stops the join: nothing is written, nothing is told but the status line.
TEST_F(WriteProgressTest, CancelAtAProgressStepStopsTheJoin) {
    list().addFiles({picture("a.png"), picture("b.png")});
    m_saveAnswer = dir() / "joined.mov";
    QObject::connect(m_jobs.get(), &app::JobRunner::progressed, m_jobs.get(), &app::JobRunner::cancel);
    EXPECT_EQ(join().status, Status::WriteCancelled);
    EXPECT_FALSE(fs::exists(dir() / "joined.mov"));
    EXPECT_TRUE(m_notices.empty()) << "the user asked for it";
    EXPECT_TRUE(m_statuses.contains("The join was cancelled; nothing was written."));
    EXPECT_FALSE(m_jobs->isRunning());
}

TEST_F(WriteProgressTest, TitleLineNamesTheFileAndComponentWhenExporting) {
    app::OutputFormat& format = session().outputFormat();
    const QStringList mpeg4 = format.components().titles().filter(QRegularExpression("^MPEG-4 \\["));
    ASSERT_EQ(mpeg4.size(), 1);
    ASSERT_TRUE(format.select(mpeg4[0]));
    const fs::path clip = dir() / "clip.mp4";
    EXPECT_EQ(app::writeTitle(format, &clip), "Saving movie ") << "not exporting";
    defaults().setValue(support::Pref::Export, true);
    EXPECT_EQ(app::writeTitle(format, &clip), "Saving movie clip.mp4, as " + mpeg4[0]);
    EXPECT_EQ(app::writeTitle(format), "Saving movie as " + mpeg4[0]);
}

} // namespace
