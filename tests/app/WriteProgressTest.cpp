// What the progress sheet, the time line and the tile's pie show during a
// write, and how Cancel stops it.

#include "AppHarness.h"

#include <QImage>
#include <algorithm>

namespace {

namespace fs = std::filesystem;

class WriteProgressTest : public testing_support::AppHarness {
protected:
    const fs::path m_file = dir() / "joined.mov";
};

TEST_F(WriteProgressTest, SheetTimeLineAndPieThroughTheThreePhases) {
    m_timeLine.setText("left over");
    EXPECT_TRUE(controller().shouldContinueOperation(0, 0, m_file));
    EXPECT_TRUE(m_panel.isShown());
    EXPECT_EQ(m_panel.parentWindow(), &m_window) << "a sheet on the main window";
    EXPECT_EQ(m_progressText.text(), "Saving movie ");
    EXPECT_TRUE(m_timeLine.text().isEmpty());
    EXPECT_EQ(m_dockTile.fractions(), std::vector<double>{0});

    m_clock += 40;
    EXPECT_TRUE(controller().shouldContinueOperation(1, 0.5, m_file));
    EXPECT_EQ(m_bar.value(), 50);
    EXPECT_EQ(m_bar.displayCount(), 1) << "redrawn at once";
    EXPECT_EQ(m_timeLine.text(), "Elapsed Time: 40 secs , Est. Time Remaining: 40 secs ");
    // Half a pie from 12 o'clock clockwise: the right half is darker than the left.
    const QImage& tile = m_dockTile.lastTile();
    ASSERT_EQ(tile.size(), QSize(127, 127));
    EXPECT_GT(qAlpha(tile.pixel(100, 63)), qAlpha(tile.pixel(27, 63)));
    EXPECT_TRUE(controller().shouldContinueOperation(1, 0, m_file));
    EXPECT_EQ(m_timeLine.text(), "Elapsed Time: 40 secs , Est. Time Remaining: 0 secs");
    EXPECT_TRUE(controller().shouldContinueOperation(1, std::nan(""), m_file)) << "unknown counts as 0";
    EXPECT_EQ(m_bar.value(), 0);

    EXPECT_TRUE(controller().shouldContinueOperation(2, 1, m_file));
    EXPECT_FALSE(m_panel.isShown());
    EXPECT_TRUE(m_timeLine.text().isEmpty());
    EXPECT_FALSE(m_dockTile.isShowingProgress());
    EXPECT_GE(m_pump.eventCount(), 5) << "every phase handles the user's input";
}

TEST_F(WriteProgressTest, TitleLineNamesTheFileAndComponentWhenExporting) {
    const QStringList titles = controller().componentTable().titles();
    const auto mpeg4 =
        std::find_if(titles.begin(), titles.end(), [](const QString& t) { return t.startsWith("MPEG-4 ["); });
    ASSERT_NE(mpeg4, titles.end());
    m_componentMenu.selectItemWithTitle(*mpeg4);
    controller().shouldContinueOperation(0, 0, dir() / "clip.mp4");
    EXPECT_EQ(m_progressText.text(), "Saving movie ") << "not exporting";
    defaults().setValue(support::Pref::Export, true);
    controller().shouldContinueOperation(0, 0, dir() / "clip.mp4");
    EXPECT_EQ(m_progressText.text(), "Saving movie clip.mp4, as " + *mpeg4);
}

TEST_F(WriteProgressTest, CancelDuringAJoinStopsTheWriteAndLeavesNoFile) {
    fixtures::ClipRecipe recipe;
    recipe.frames = 50;
    controller().fileList().joinClips(
        {fixtures::makeClip(dir(), "a.mp4", recipe), fixtures::makeClip(dir(), "b.mp4", recipe)});
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
    ASSERT_EQ(controller().addButtonClicked().status, Status::Written) << "the next join runs to its end";
    EXPECT_TRUE(fs::exists(out / "joined.mov"));
}

} // namespace
