// What the progress sheet, the time line and the tile's pie show during a
// write, and how Cancel stops it.

#include "JoinHarness.h"

#include "MediaFixtures.h"

#include <QImage>
#include <algorithm>

namespace {

namespace fs = std::filesystem;
using testing_support::JoinHarness;

class WriteProgressTest : public JoinHarness {};

TEST_F(WriteProgressTest, SheetTimeLineAndPieThroughTheThreePhases) {
    const fs::path file = dir() / "joined.mov";
    m_timeLine.setText("left over");
    EXPECT_TRUE(controller().shouldContinueOperation(0, 0, file));
    EXPECT_TRUE(m_panel.isShown());
    EXPECT_EQ(m_panel.parentWindow(), &m_window) << "a sheet on the main window";
    EXPECT_EQ(m_bar.value(), 0);
    EXPECT_EQ(m_progressText.text(), "Saving movie ");
    EXPECT_TRUE(m_timeLine.text().isEmpty());
    EXPECT_EQ(m_dockTile.fractions(), std::vector<double>{0});

    m_clock += 40;
    EXPECT_TRUE(controller().shouldContinueOperation(1, 0.5, file));
    EXPECT_EQ(m_bar.value(), 50);
    EXPECT_EQ(m_bar.displayCount(), 1) << "redrawn at once";
    EXPECT_EQ(m_timeLine.text(), "Elapsed Time: 40 secs , Est. Time Remaining: 40 secs ");
    EXPECT_EQ(m_dockTile.fractions().back(), 0.5);
    // Half a pie from 12 o'clock clockwise: the right half is darker than the left.
    const QImage& tile = m_dockTile.lastTile();
    ASSERT_EQ(tile.size(), QSize(127, 127));
    EXPECT_GT(qAlpha(tile.pixel(100, 63)), qAlpha(tile.pixel(27, 63)));

    EXPECT_TRUE(controller().shouldContinueOperation(1, 0, file));
    EXPECT_EQ(m_timeLine.text(), "Elapsed Time: 40 secs , Est. Time Remaining: 0 secs");

    EXPECT_TRUE(controller().shouldContinueOperation(1, std::nan(""), file)) << "an unknown fraction counts as 0";
    EXPECT_EQ(m_bar.value(), 0);

    EXPECT_TRUE(controller().shouldContinueOperation(2, 1, file));
    EXPECT_FALSE(m_panel.isShown());
    EXPECT_TRUE(m_timeLine.text().isEmpty());
    EXPECT_FALSE(m_dockTile.isShowingProgress());
    EXPECT_GE(m_pump.eventCount(), 5) << "every phase handles the user's input";
}

TEST_F(WriteProgressTest, TitleLineNamesTheFileAndComponentWhenExporting) {
    controller().launchExportComponents();
    const QStringList titles = controller().componentTable().titles();
    const auto mpeg4 = std::find_if(titles.begin(), titles.end(), [](const QString& t) { return t.startsWith("MPEG-4 ["); });
    ASSERT_NE(mpeg4, titles.end());
    m_componentMenu.selectItemWithTitle(*mpeg4);
    controller().shouldContinueOperation(0, 0, dir() / "clip.mp4");
    EXPECT_EQ(m_progressText.text(), "Saving movie ") << "not exporting";
    defaults().setValue(support::Pref::Export, true);
    controller().shouldContinueOperation(0, 0, dir() / "clip.mp4");
    EXPECT_EQ(m_progressText.text(), "Saving movie clip.mp4, as " + *mpeg4);
}

TEST_F(WriteProgressTest, SpinnerShowsWhileAJoinIsBuilt) {
    controller().showSpinner(true);
    EXPECT_FALSE(m_spinner.isHidden());
    EXPECT_TRUE(m_spinner.isAnimating());
    controller().showSpinner(false);
    EXPECT_TRUE(m_spinner.isHidden());
    EXPECT_FALSE(m_spinner.isAnimating());
}

TEST_F(WriteProgressTest, CancelClosesTheSheetAndTheNextCallAnswersNo) {
    const fs::path file = dir() / "joined.mov";
    controller().shouldContinueOperation(0, 0, file);
    m_pump.queueUserAction(1, [&] { controller().cancelOp(); });
    EXPECT_FALSE(controller().shouldContinueOperation(1, 0.3, file));
    EXPECT_FALSE(m_panel.isShown());
    EXPECT_FALSE(m_dockTile.isShowingProgress());
    EXPECT_TRUE(m_timeLine.text().isEmpty());
    // A new write is not stopped by the old cancel.
    EXPECT_TRUE(controller().shouldContinueOperation(0, 0, file));
}

TEST_F(WriteProgressTest, CancelDuringAJoinStopsTheWriteAndLeavesNoFile) {
    fixtures::ClipSpec clipSpec;
    clipSpec.frames = 50;
    const fs::path a = fixtures::makeClip(dir(), "a.mp4", clipSpec);
    const fs::path b = fixtures::makeClip(dir(), "b.mp4", clipSpec);
    controller().fileList().joinClips({a, b});
    const fs::path out = dir() / "out";
    fs::create_directories(out);
    m_savePanel.setAnswer(out / "joined.mov");
    // The first input handled is at the start of the write, the second during it.
    m_pump.queueUserAction(2, [&] { controller().cancelOp(); });

    EXPECT_EQ(controller().addButtonClicked().status, Status::WriteCancelled);
    EXPECT_TRUE(fs::is_empty(out)) << "no file, finished or temporary";
    EXPECT_TRUE(m_alerts.alerts().empty()) << "the user asked for it";
    EXPECT_FALSE(m_panel.isShown());
    EXPECT_FALSE(m_dockTile.isShowingProgress());
    EXPECT_TRUE(m_window.title().isEmpty());
    EXPECT_FALSE(m_messages.textsSet().contains("Finished processing movies!"));

    // The next join runs to its end.
    ASSERT_EQ(controller().addButtonClicked().status, Status::Written);
    EXPECT_TRUE(fs::exists(out / "joined.mov"));
}

} // namespace
