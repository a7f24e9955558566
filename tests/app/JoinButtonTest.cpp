// The Join command: where the joined movie goes, which entries it takes, what
// the user sees during the write and afterwards (also when it fails). The output folder
// commands are driven through the preferences window (PreferencesWindowTest).

#include "AppHarness.h"
#include "Ffprobe.h"
#include "MovieTiming.h"

#include <QRegularExpression>
#include <cmath>

namespace {

namespace fs = std::filesystem;

class JoinButtonTest : public testing_support::AppHarness {};

TEST_F(JoinButtonTest, DefaultNamesInTheOutputFolderWithoutAsking) {
    const fs::path out = dir() / "out";
    setOutputFolder(out);
    defaults().setValue(support::Pref::PromptForFilename, false);
    controller().fileList().addFiles({picture("Holiday.png"), picture("Ice.png"), picture("Kite.png")});
    const auto first = controller().join();
    ASSERT_EQ(first.status, Status::Written);
    EXPECT_EQ(first.path, out / "Holiday and 2 others.mov");
    EXPECT_EQ(m_window.title(), "Holiday and 2 others.mov");
    EXPECT_EQ(m_window.representedFilename(), first.path);
    EXPECT_EQ(m_messages.text(), "Finished processing movies!");
    const auto second = controller().join(); // the name is taken: a stamped one
    EXPECT_TRUE(second.path.filename().string().starts_with("Holiday and 2 others-[")) << second.path;
    EXPECT_TRUE(fs::exists(first.path) && fs::exists(second.path));
    EXPECT_TRUE(m_savePanel.openings().empty());
    EXPECT_TRUE(m_desktop.opened().empty()) << "OpenFile is off unless set";
}

TEST_F(JoinButtonTest, TheSavePanelAsksWithoutAnOutputFolderOrWhenPrompting) {
    defaults().setValue(support::Pref::PromptForFilename, false);
    controller().fileList().addFiles({picture("Trip.png")});
    EXPECT_EQ(controller().join().status, Status::NotSaved) << "the panel was cancelled";
    ASSERT_EQ(m_savePanel.openings().size(), 1u);
    EXPECT_EQ(m_savePanel.openings()[0].suggestedName, "Trip and 0 others.mov");
    EXPECT_FALSE(m_savePanel.openings()[0].startFolder);
    EXPECT_FALSE(m_savePanel.openings()[0].requiredExtension) << "the chosen name may lack an extension";
    const fs::path out = dir() / "out";
    setOutputFolder(out);
    defaults().setValue(support::Pref::PromptForFilename, true);
    controller().makeDefaultFilename(dir() / "Trip", true); // as adding a folder named Trip does
    m_savePanel.setAnswer(out / "chosen.mov");
    ASSERT_EQ(controller().join().status, Status::Written);
    EXPECT_EQ(m_savePanel.openings()[1].startFolder, out);
    EXPECT_EQ(m_savePanel.openings()[1].suggestedName, "Trip.mov") << "a folder's name has no count";
    EXPECT_TRUE(fs::exists(out / "chosen.mov"));
}

// A listed file deleted before the join: refused with its name; once its
// row is removed, the others join with their own titles.
TEST_F(JoinButtonTest, ADeletedEntryIsRefusedAndTitlesStayWithTheirMovies) {
    if (!oracle::ffprobeAvailable())
        GTEST_SKIP() << "ffprobe is not installed";
    fixtures::ClipRecipe recipe{.audioCodec = ""};
    std::vector<fs::path> clips;
    for (int frames : {25, 50, 75}) {
        recipe.frames = frames;
        clips.push_back(fixtures::makeClip(dir(), std::to_string(frames) + ".mp4", recipe));
    }
    controller().fileList().addFiles(clips);
    for (int i = 0; i < 3; ++i)
        controller().fileList().setTitle(i, QStringList{"One", "Two", "Three"}[i]);
    fs::remove(clips[1]);
    m_savePanel.setAnswer(dir() / "joined.mov");
    EXPECT_EQ(controller().join().status, Status::NothingToJoin);
    ASSERT_FALSE(m_alerts.alerts().empty());
    EXPECT_EQ(m_alerts.alerts().back().message, "The movie was not joined: a listed file is missing.");
    EXPECT_TRUE(m_alerts.alerts().back().informative.startsWith("50.mp4\n"));
    EXPECT_FALSE(fs::exists(dir() / "joined.mov"));
    m_table.setSelectedRows({1});
    controller().removeSelected();
    ASSERT_EQ(controller().join().status, Status::Written);
    const auto found = oracle::probeChapterList(dir() / "joined.mov");
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].title, "One");
    EXPECT_EQ(found[1].title, "Three");
    EXPECT_NEAR(found[1].start, 1.0, 0.05);
    EXPECT_NEAR(oracle::formatDuration(dir() / "joined.mov"), 4.0, 0.1);
}

// Each way a join ends without a movie: one alert on the main window, nothing
// written or replaced, nothing left showing.
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
        controller().fileList().clearAll();
        controller().fileList().addFiles(c.files);
        fs::remove(gone);
        m_window.setTitle("earlier.mov");
        m_savePanel.setAnswer(c.target);
        const std::size_t alerts = m_alerts.alerts().size();
        EXPECT_EQ(controller().join().status, c.status);
        ASSERT_EQ(m_alerts.alerts().size(), alerts + 1);
        EXPECT_TRUE(c.message.isEmpty() || m_alerts.alerts().back().message == c.message)
            << m_alerts.alerts().back().message.toStdString();
        EXPECT_FALSE(m_alerts.alerts().back().informative.isEmpty()) << "the reason";
        EXPECT_EQ(m_alerts.alerts().back().parentWindow, &m_window);
        EXPECT_FALSE(fs::exists(dir() / "x.mov") || fs::exists(dir() / "missing"));
        EXPECT_EQ(fs::file_size(a), sizeOfA);
        EXPECT_EQ(m_window.title(), "earlier.mov") << "the title names only files that were written";
        EXPECT_FALSE(m_messages.textsSet().contains("Finished processing movies!"));
        EXPECT_FALSE(m_panel.isShown() || m_dockTile.isShowingProgress() || !m_spinner.isHidden());
    }
}

// A chosen name without extension gets ".mov" after the scaling, and the written file is opened when asked.
TEST_F(JoinButtonTest, ScalesTheWrittenFileBeforeTheExtensionIsAddedAndOpensIt) {
    defaults().setValue(support::Pref::DesiredDuration, 12.5);
    defaults().setValue(support::Pref::OpenFile, true);
    controller().fileList().addFiles({picture("a.png")});
    m_savePanel.setAnswer(dir() / "scaled");
    const auto outcome = controller().join();
    EXPECT_EQ(outcome.status, Status::Written);
    EXPECT_EQ(outcome.scaled, true);
    EXPECT_EQ(outcome.path, dir() / "scaled.mov");
    EXPECT_NEAR(media::seconds(media::Movie::open(outcome.path).value()->duration()), 12.5, 0.01);
    EXPECT_FALSE(fs::exists(dir() / "scaled"));
    EXPECT_EQ(m_desktop.opened(), std::vector<fs::path>{outcome.path});
    // A length too short for the movie's time scale: still written, and the outcome says it was not scaled.
    defaults().setValue(support::Pref::DesiredDuration, 1e-6);
    m_savePanel.setAnswer(dir() / "unscaled.mov");
    const auto unscaled = controller().join();
    EXPECT_EQ(unscaled.scaled, false);
    EXPECT_TRUE(fs::exists(unscaled.path));
    defaults().setValue(support::Pref::DesiredDuration, 0);
    m_savePanel.setAnswer(dir() / "plain.mov");
    EXPECT_FALSE(controller().join().scaled) << "0 means no scaling";
}

// What the progress sheet, the time line and the tile show during a write
// (how the tile's pie is drawn is DockProgressTest's). Cancel from the sheet is MainWindowTest's.
using WriteProgressTest = JoinButtonTest;

TEST_F(WriteProgressTest, SheetTimeLineAndTileThroughTheThreePhases) {
    m_timeLine.setText("left over");
    controller().showWriteProgress(0, 0, controller().writeTitle(nullptr));
    EXPECT_TRUE(m_panel.isShown());
    EXPECT_EQ(m_panel.parentWindow(), &m_window) << "a sheet on the main window";
    EXPECT_EQ(m_progressText.text(), "Saving movie ");
    EXPECT_TRUE(m_timeLine.text().isEmpty());
    EXPECT_EQ(m_dockTile.fractions(), std::vector<double>{0});
    m_clock += 40;
    controller().showWriteProgress(1, 0.5);
    EXPECT_EQ(m_bar.value(), 50);
    EXPECT_EQ(m_bar.displayCount(), 1) << "redrawn at once";
    EXPECT_EQ(m_timeLine.text(), "Elapsed Time: 40 secs, Est. Time Remaining: 40 secs");
    EXPECT_EQ(m_dockTile.lastTile().size(), QSize(127, 127));
    controller().showWriteProgress(1, std::nan(""));
    EXPECT_EQ(m_bar.value(), 0) << "unknown counts as 0";
    controller().showWriteProgress(2, 1);
    EXPECT_FALSE(m_panel.isShown());
    EXPECT_TRUE(m_timeLine.text().isEmpty());
    EXPECT_FALSE(m_dockTile.isShowingProgress());
}

// A join run here handles the user's input at each progress step, so Cancel
// on the sheet stops it there: nothing is written, nothing is left showing.
TEST_F(WriteProgressTest, CancelAtAProgressStepStopsTheJoin) {
    controller().fileList().addFiles({picture("a.png"), picture("b.png")});
    m_savePanel.setAnswer(dir() / "joined.mov");
    m_pump.queueUserAction(1, [this] { controller().cancelJob(); });
    EXPECT_EQ(controller().join().status, Status::WriteCancelled);
    EXPECT_FALSE(fs::exists(dir() / "joined.mov"));
    EXPECT_TRUE(m_alerts.alerts().empty()) << "the user asked for it";
    EXPECT_FALSE(m_panel.isShown() || m_dockTile.isShowingProgress() || !m_spinner.isHidden());
    EXPECT_FALSE(controller().isRunningJob());
}

TEST_F(WriteProgressTest, TitleLineNamesTheFileAndComponentWhenExporting) {
    const QStringList mpeg4 =
        controller().outputFormat().components().titles().filter(QRegularExpression("^MPEG-4 \\["));
    ASSERT_EQ(mpeg4.size(), 1);
    ASSERT_TRUE(controller().outputFormat().select(mpeg4[0]));
    const fs::path clip = dir() / "clip.mp4";
    EXPECT_EQ(controller().writeTitle(&clip), "Saving movie ") << "not exporting";
    defaults().setValue(support::Pref::Export, true);
    EXPECT_EQ(controller().writeTitle(&clip), "Saving movie clip.mp4, as " + mpeg4[0]);
    EXPECT_EQ(controller().writeTitle(nullptr), "Saving movie as " + mpeg4[0]);
}

} // namespace
