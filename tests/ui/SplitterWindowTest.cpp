#include "ui/SplitterWindow.h"

#include "FileContents.h"
#include "MediaFixtures.h"
#include "TestApplication.h"
#include "TestFolder.h"
#include "platform/Preferences.h"
#include "tools/SplitPieceNames.h"
#include "ui/MovieView.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>

#include <cstdlib>

#include <gtest/gtest.h>

using testing_support::child;

namespace {

class SplitterWindowTest : public ::testing::Test {
protected:
    SplitterWindowTest() {
        // No sound device offscreen: the view plays its sound into nothing.
        setenv("JOINCLIP_AUDIO_OUTPUT", "null", 1);
        testing_support::ensureApplication();
        fixtures::quietFfmpegLogs();
        fixtures::ClipRecipe recipe;
        recipe.frames = 75; // 3 s
        m_movie = fixtures::makeClip(m_folder.path(), "clip.mp4", recipe);
    }

    std::unique_ptr<ui::SplitterWindow> openWindow() {
        m_store = std::make_unique<platform::Preferences>(m_folder / "prefs.plist");
        auto window = std::make_unique<ui::SplitterWindow>(*m_store);
        window->show();
        return window;
    }

    // Puts the movie at `seconds` and adds that time.
    void addTimeAt(ui::SplitterWindow& window, double seconds) {
        auto& view = child<ui::MovieView>(window, "movieView");
        testing_support::runEventsUntil([&] { return view.isLoaded(); });
        view.setCurrentSeconds(seconds);
        testing_support::runEventsUntil([&] { return std::abs(view.currentSeconds() - seconds) < 0.001; });
        window.addCurrentTime();
    }

    testing_support::TestFolder m_folder;
    std::filesystem::path m_movie;
    std::unique_ptr<platform::Preferences> m_store;
};

} // namespace

TEST_F(SplitterWindowTest, AnEmptyListGivesTheStopAlertAndWritesNothing) {
    auto window = openWindow();
    window->setMovie(m_movie);
    QString alerted;
    testing_support::whenModalShown([&](QWidget& modal) {
        alerted = static_cast<QMessageBox&>(modal).text();
        static_cast<QMessageBox&>(modal).accept();
    });
    window->split();
    EXPECT_EQ(alerted, "There are no frame times to split the movie.");
    EXPECT_FALSE(window->isSplitting());
    EXPECT_EQ(testing_support::namesIn(m_folder.path()), (std::vector<std::string>{"clip.mp4", "prefs.plist"}));
}

TEST_F(SplitterWindowTest, SplitWritesAPieceForEachSpanNamedAfterItsStart) {
    auto window = openWindow();
    window->setMovie(m_movie);
    addTimeAt(*window, 2.0);
    addTimeAt(*window, 1.0);
    addTimeAt(*window, 1.0); // a time given twice cuts once
    auto& table = child<QTableWidget>(*window, "table");
    ASSERT_EQ(table.rowCount(), 3);
    testing_support::runEventsUntil([&] { return !window->isMakingFrameImages(); });
    EXPECT_FALSE(table.item(0, 0)->icon().isNull()); // the frame at that time
    EXPECT_EQ(table.item(2, 1)->text(), window->times().text(2));

    // Selecting a time selects the span its piece will hold.
    table.selectRow(2);
    const auto selection = child<ui::MovieView>(*window, "movieView").selection();
    EXPECT_NEAR(media::seconds(selection.start), 2.0, 0.001);
    EXPECT_NEAR(media::seconds(selection.duration), 1.0, 0.001);

    bool finished = false, succeeded = false;
    QObject::connect(window.get(), &ui::SplitterWindow::splitFinished, [&](bool ok) {
        finished = true;
        succeeded = ok;
    });
    window->split();
    testing_support::runEventsUntil([&] { return finished; });
    ASSERT_TRUE(succeeded);
    // Three pieces beside the source, named after their starts (the time given
    // twice cuts once). What they hold is MovieSplitTest's.
    EXPECT_EQ(testing_support::namesIn(m_folder.path()),
              (std::vector<std::string>{"clip [0-00-00-00.0-600].mov", "clip [0-00-00-01.0-600].mov",
                                        "clip [0-00-00-02.0-600].mov", "clip.mp4", "prefs.plist"}));
    EXPECT_EQ(child<QLabel>(*window, "message").text(), "Finished splitting clip.mp4");

    // Another movie keeps the times.
    const auto other = fixtures::makeClip(m_folder.path(), "other.mp4", {});
    window->setMovie(other);
    EXPECT_EQ(window->times().count(), 3);
    EXPECT_EQ(window->windowTitle(), "other");
    window->removeSelectedTimes(); // nothing selected: nothing changes
    EXPECT_EQ(window->times().count(), 3);
}

TEST_F(SplitterWindowTest, FrameImagesComeOffTheWindowsThreadAtTheDisplayAspect) {
    // Coded square, shown 4:3.
    const auto wide = fixtures::makeClip(m_folder.path(), "wide.mp4",
                                         {.width = 120, .height = 120, .frames = 50, .sarNum = 4, .sarDen = 3});
    auto window = openWindow();
    window->setMovie(wide);
    addTimeAt(*window, 0.0);
    addTimeAt(*window, 1.0);
    EXPECT_TRUE(window->isMakingFrameImages()) << "the window does not decode them itself";
    testing_support::runEventsUntil([&] { return !window->isMakingFrameImages(); });
    auto& table = child<QTableWidget>(*window, "table");
    for (int row = 0; row < 2; ++row) {
        const QIcon icon = table.item(row, 0)->icon();
        ASSERT_FALSE(icon.isNull()) << row;
        const QSize size = icon.availableSizes().value(0);
        EXPECT_NEAR(static_cast<double>(size.width()) / size.height(), 4.0 / 3.0, 0.05) << row;
    }
    // Removing a time decodes nothing again.
    table.selectRow(0);
    window->removeSelectedTimes();
    EXPECT_FALSE(window->isMakingFrameImages());
    EXPECT_FALSE(table.item(0, 0)->icon().isNull());
}

TEST_F(SplitterWindowTest, CancelLeavesNoPieceAndExistingPiecesAreReplacedOnlyWhenAsked) {
    // Half a minute: long enough for the Cancel to come first.
    const auto movie = fixtures::makeClip(m_folder.path(), "long.mp4", {.frames = 750});
    auto window = openWindow();
    window->setMovie(movie);
    addTimeAt(*window, 1.0);
    bool finished = false, succeeded = false;
    QObject::connect(window.get(), &ui::SplitterWindow::splitFinished, [&](bool ok) {
        finished = true;
        succeeded = ok;
    });
    window->split();
    ASSERT_TRUE(window->isSplitting());
    child<QPushButton>(*window, "cancelButton").click();
    testing_support::runEventsUntil([&] { return finished; });
    EXPECT_FALSE(succeeded);
    EXPECT_EQ(testing_support::namesIn(m_folder.path()), (std::vector<std::string>{"clip.mp4", "long.mp4", "prefs.plist"}));

    finished = false;
    window->split();
    testing_support::runEventsUntil([&] { return finished; });
    ASSERT_TRUE(succeeded);
    const auto pieces = tools::splitPiecePaths(movie, {media::makeTime(600, 600)});
    // Pieces that exist: the question, and Cancel keeps them as they are.
    testing_support::writeFile(pieces[0], "mine");
    QString asked;
    testing_support::whenModalShown([&](QWidget& modal) {
        auto& box = static_cast<QMessageBox&>(modal);
        asked = box.text();
        box.button(QMessageBox::Cancel)->click();
    });
    finished = false;
    window->split();
    EXPECT_EQ(asked, "2 of the pieces already exist beside the movie. Replace them?");
    EXPECT_FALSE(window->isSplitting());
    EXPECT_EQ(testing_support::contentsOf(pieces[0]), "mine");
    // Replace writes them again.
    testing_support::whenModalShown(
        [&](QWidget& modal) { static_cast<QMessageBox&>(modal).button(QMessageBox::Yes)->click(); });
    window->split();
    testing_support::runEventsUntil([&] { return finished; });
    EXPECT_TRUE(succeeded);
    EXPECT_NE(testing_support::contentsOf(pieces[0]), "mine");
}

TEST_F(SplitterWindowTest, EveryControlHasAName) {
    testing_support::expectEveryControlNamed(*openWindow());
}
