// The viewer over the real main window, offscreen: it follows the table's
// selection, counts frames, goes to a frame, plays every entry with Play All
// (passing over a file that is gone), and its tools write sound and pieces.

#include "FileContents.h"
#include "WindowHarness.h"
#include "ui/FileTable.h"
#include "ui/MovieView.h"
#include "ui/ViewerWindow.h"

#include "media/Movie.h"
#include "support/PreferenceKeys.h"
#include "support/UserDefaults.h"

#include <QAbstractButton>
#include <QFile>
#include <QMessageBox>
#include <QPrinter>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QTableView>
#include <cstdlib>

namespace {

using testing_support::runEventsUntil;

class ViewerWindowTest : public testing_support::WindowTest {
protected:
    void SetUp() override {
        setenv("JOINCLIP_AUDIO_OUTPUT", "null", 1);
        setenv("JOINCLIP_NO_PLAYER", "1", 1);
        WindowTest::SetUp();
        launch();
    }
    ui::ViewerWindow& viewer() { return window().viewerWindow(); }
    QTableView& table() { return child<QTableView>("movieTable"); }
    template <typename Widget> Widget& control(const char* name) {
        return testing_support::child<Widget>(viewer(), name);
    }
    void select(int row) {
        table().selectRow(row);
        runEventsUntil([&] { return viewer().movieView().isLoaded(); });
    }
    void showAt(double seconds) {
        viewer().movieView().setCurrentSeconds(seconds);
        runEventsUntil([&] { return std::abs(viewer().movieView().currentSeconds() - seconds) < 1e-3; });
    }
};

TEST_F(ViewerWindowTest, FollowsTheSelectionAndSwitchesItsToolsWithIt) {
    window().openDocuments({clip("long.mp4", 1234), clip("short.mp4", 5)});
    ASSERT_EQ(session().fileList().count(), 2);
    const char* tools[] = {"saveCurrentFrameButton", "saveSoundButton",       "saveMovieButton",
                           "setPosterFrameButton",   "goToPosterFrameButton", "splitMovieButton",
                           "movieViewPrintButton",   "movieViewRateSlider",   "goToFrameButton",
                           "goToFrameTextField"};
    for (const char* name : tools)
        EXPECT_FALSE(control<QWidget>(name).isEnabled()) << name;

    select(0);
    for (const char* name : tools)
        EXPECT_TRUE(control<QWidget>(name).isEnabled()) << name;
    EXPECT_EQ(control<QLabel>("frameCountTextField").text(), "1,234 frames");
    EXPECT_EQ(viewer().windowTitle(), "long");
    EXPECT_FALSE(control<QLabel>("frameCountRateStaticTextField").isHidden());
    EXPECT_EQ(control<QSlider>("movieViewRateSlider").value(), 4);

    table().clearSelection();
    runEventsUntil([&] { return !viewer().movieView().isLoaded(); });
    for (const char* name : tools)
        EXPECT_FALSE(control<QWidget>(name).isEnabled()) << name;
    EXPECT_EQ(viewer().windowTitle(), "Viewer");
    EXPECT_TRUE(control<QLabel>("frameCountTextField").text().isEmpty());
    EXPECT_TRUE(control<QLabel>("frameCountRateStaticTextField").isHidden());
    EXPECT_TRUE(viewer().selectedMovie()) << "the last shown movie stays selected";

    // Go to Frame past the end stops at the last step and says so.
    select(1);
    control<QLineEdit>("goToFrameTextField").setText("10");
    control<QPushButton>("goToFrameButton").click();
    EXPECT_EQ(control<QLineEdit>("goToFrameTextField").text(), "5");
    EXPECT_GE(viewer().movieView().currentSeconds(), 4 / 25.0 - 1e-3) << "at the last frame";
    control<QLineEdit>("goToFrameTextField").setText("2");
    control<QLineEdit>("frameCountRateTextField").setText("1");
    control<QPushButton>("goToFrameButton").click();
    EXPECT_NEAR(viewer().movieView().currentSeconds(), 2 / 25.0, 1e-3);
    EXPECT_EQ(control<QLineEdit>("goToFrameTextField").text(), "2");
}

TEST_F(ViewerWindowTest, PlayAllPlaysEachEntryInOrderAndPassesOverAFileThatIsGone) {
    const auto first = clip("first.mp4", 8), gone = clip("gone.mp4", 8), last = clip("last.mp4", 8);
    window().openDocuments({first, gone, last});
    ASSERT_EQ(session().fileList().count(), 3);
    std::filesystem::remove(gone);
    QStringList played;
    QObject::connect(&viewer().movieView(), &ui::MovieView::loaded, [&] {
        played << QString::fromStdString(std::filesystem::path(viewer().windowFilePath().toStdString()).filename().string());
    });
    auto& playAll = control<QPushButton>("playAllButton");
    playAll.click();
    EXPECT_EQ(playAll.text(), "Stop");
    EXPECT_TRUE(viewer().isPlayingAll());
    runEventsUntil([&] { return !viewer().isPlayingAll(); });
    EXPECT_EQ(played, (QStringList{"first.mp4", "last.mp4"}));
    EXPECT_EQ(playAll.text(), "Play All");
    EXPECT_EQ(table().selectionModel()->selectedRows().value(0).row(), 2);

    // Stop halts at once and leaves the viewer at the end of its movie.
    playAll.click();
    playAll.click();
    EXPECT_FALSE(viewer().isPlayingAll());
    EXPECT_EQ(playAll.text(), "Play All");
}

TEST_F(ViewerWindowTest, SaveSoundShowsItsProgressAndAStopThatLeavesNoFile) {
    // A minute of sound: long enough for the Stop to come before the end.
    window().openDocuments({fixtures::makeClip(dir(), "talk.mov", {.container = "mov", .frames = 1500})});
    select(0);
    const auto aiff = dir() / "out" / "talk.aiff";
    std::filesystem::create_directories(aiff.parent_path());
    viewer().setPrompts({.askSavePath = [&](const ui::ViewerWindow::SaveRequest& request) -> std::optional<QString> {
        EXPECT_EQ(request.extension, "aiff");
        EXPECT_EQ(request.suggestedName, "talk");
        return QString::fromStdString(aiff.string());
    }});
    auto& button = control<QPushButton>("saveSoundButton");
    button.click();
    EXPECT_EQ(button.text(), "Stop");
    EXPECT_FALSE(control<QProgressBar>("saveSoundProgressBar").isHidden());
    button.click(); // the Stop
    runEventsUntil([&] { return button.text() == "Save Sound"; });
    EXPECT_TRUE(control<QProgressBar>("saveSoundProgressBar").isHidden());
    EXPECT_TRUE(std::filesystem::is_empty(aiff.parent_path()));

    button.click();
    runEventsUntil([&] { return button.text() == "Save Sound"; });
    EXPECT_TRUE(std::filesystem::exists(aiff));
    EXPECT_TRUE(std::filesystem::exists(dir() / "out" / "talk.caf"));
    EXPECT_TRUE(std::filesystem::exists(dir() / "out" / "talk.wav"));
}

TEST_F(ViewerWindowTest, SplitShowsItsProgressWritesBothPiecesAndAlwaysEndsWithTheStopAlert) {
    window().openDocuments({fixtures::makeClip(dir(), "long.mp4", {.frames = 1500})});
    select(0);
    showAt(30.0);
    const auto out = dir() / "out";
    std::filesystem::create_directories(out);
    QStringList alerts, labels;
    bool answer = true;
    viewer().setPrompts({.askSavePath = [&](const ui::ViewerWindow::SaveRequest& request) -> std::optional<QString> {
                             labels << request.label + " " + request.suggestedName + "." + request.extension;
                             if (!answer)
                                 return std::nullopt;
                             return QString::fromStdString((out / (request.suggestedName.toStdString() + ".mov")).string());
                         },
                         .showStopAlert = [&](const QString& text) { alerts << text; }});
    auto& split = control<QPushButton>("splitMovieButton");
    split.click();
    ASSERT_TRUE(viewer().isRunningTool());
    EXPECT_FALSE(control<QProgressBar>("toolProgressBar").isHidden());
    EXPECT_FALSE(split.isEnabled());
    EXPECT_FALSE(control<QPushButton>("saveMovieButton").isEnabled());
    control<QPushButton>("toolCancelButton").click();
    runEventsUntil([&] { return !viewer().isRunningTool(); });
    EXPECT_TRUE(alerts.isEmpty()) << "a cancelled split completed nothing";
    EXPECT_TRUE(std::filesystem::is_empty(out));
    EXPECT_TRUE(control<QProgressBar>("toolProgressBar").isHidden());
    EXPECT_TRUE(control<QPushButton>("toolCancelButton").isHidden());
    EXPECT_TRUE(split.isEnabled());

    labels.clear();
    split.click();
    runEventsUntil([&] { return !viewer().isRunningTool(); });
    EXPECT_EQ(labels, (QStringList{"Left name: Left.mov", "Right name: Right.mov"}));
    EXPECT_EQ(alerts, QStringList{"Movie splitting completed."});
    EXPECT_EQ(testing_support::namesIn(out), (std::vector<std::string>{"Left.mov", "Right.mov"}));

    // Cancelling the first panel still ends with the alert, and writes nothing.
    answer = false;
    split.click();
    EXPECT_EQ(alerts.size(), 2);
}

TEST_F(ViewerWindowTest, SetPosterFrameSavesTheMovieOffTheWindowsThread) {
    const auto movie = fixtures::makeClip(dir(), "poster.mov", {.container = "mov", .frames = 50});
    window().openDocuments({movie});
    select(0);
    showAt(1.0);
    QStringList texts;
    testing_support::ModalAnswerer answer([&](QWidget& modal) {
        if (auto* box = qobject_cast<QMessageBox*>(&modal))
            texts << testing_support::pressOK(*box);
    });
    control<QPushButton>("setPosterFrameButton").click();
    EXPECT_TRUE(viewer().isRunningTool());
    EXPECT_FALSE(control<QPushButton>("setPosterFrameButton").isEnabled());
    runEventsUntil([&] { return !texts.isEmpty(); });
    EXPECT_EQ(texts.value(0), "The movie \"poster\" was updated successfully.");
    const auto saved = media::Movie::open(movie);
    ASSERT_TRUE(saved.has_value());
    EXPECT_NEAR(media::seconds((*saved)->posterTime()), 1.0, 0.05);
    EXPECT_TRUE(control<QPushButton>("setPosterFrameButton").isEnabled());
}

TEST_F(ViewerWindowTest, SaveFrameWritesTheFrameShownOffTheWindowsThread) {
    window().openDocuments({clip("still.mp4", 25)});
    select(0);
    session().defaults().setValue(support::Pref::SaveFrameFormat, 4); // PNG
    session().defaults().setValue(support::Pref::TimeStampName, false);
    showAt(0.5);
    const auto png = dir() / "still.png";
    viewer().setPrompts({.askSavePath = [&](const ui::ViewerWindow::SaveRequest& request) -> std::optional<QString> {
        EXPECT_EQ(request.extension, "png");
        EXPECT_EQ(request.suggestedName, "still");
        return QString::fromStdString(png.string());
    }});
    control<QPushButton>("saveCurrentFrameButton").click();
    EXPECT_TRUE(viewer().isRunningTool());
    runEventsUntil([&] { return !viewer().isRunningTool(); });
    const QImage saved(QString::fromStdString(png.string()));
    EXPECT_EQ(saved.size(), QSize(160, 120));
    const auto expected = viewer().selectedMovie()->frameImage(media::makeTime(1, 2));
    ASSERT_TRUE(expected.has_value());
    EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB32), expected->convertToFormat(QImage::Format_RGB32));
}

TEST_F(ViewerWindowTest, PrintsTheCurrentFrameToAPage) {
    window().openDocuments({clip("printed.mp4", 25)});
    select(0);
    runEventsUntil([&] { return viewer().movieView().grabFrame().has_value(); });
    const auto pdf = dir() / "frame.pdf";
    bool accept = false;
    viewer().setPrompts({.setUpPrinter = [&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdf.string()));
        return accept;
    }});
    auto& print = control<QPushButton>("movieViewPrintButton");
    print.click();
    EXPECT_FALSE(std::filesystem::exists(pdf)) << "a cancelled print prints nothing";
    accept = true;
    print.click();
    QFile written(QString::fromStdString(pdf.string()));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray bytes = written.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_TRUE(bytes.contains("/Image")) << "the page holds the frame as a picture";
}

TEST_F(ViewerWindowTest, EveryControlHasANameAndShowViewerFollowsTheWindow) {
    for (QWidget* widget : viewer().findChildren<QWidget*>()) {
        if (qobject_cast<QAbstractButton*>(widget) || qobject_cast<QLineEdit*>(widget) ||
            qobject_cast<QSlider*>(widget) || qobject_cast<QProgressBar*>(widget) ||
            qobject_cast<ui::MovieView*>(widget)) {
            const auto* button = qobject_cast<QAbstractButton*>(widget);
            EXPECT_TRUE(!widget->accessibleName().isEmpty() || (button && !button->text().isEmpty()))
                << widget->objectName().toStdString();
        }
    }
    viewer().toggle();
    EXPECT_TRUE(viewer().isVisible());
    viewer().toggle();
    EXPECT_FALSE(viewer().isVisible());
}

} // namespace
