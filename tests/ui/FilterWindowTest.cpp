#include "ui/FilterWindow.h"

#include "MediaFixtures.h"
#include "PictureDifference.h"
#include "RecordingDesktopPorts.h"
#include "TestApplication.h"
#include "TestFolder.h"
#include "media/filters/ImageFilters.h"
#include "platform/Preferences.h"
#include "ui/CompletionSound.h"
#include "ui/MoviePicture.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include <cstdlib>

#include <gtest/gtest.h>

using testing_support::child;
using testing_support::meanDifference;

namespace {

class FilterWindowTest : public ::testing::Test {
protected:
    FilterWindowTest() {
        // No sound device offscreen: the preview plays its sound into nothing.
        setenv("JOINCLIP_AUDIO_OUTPUT", "null", 1);
        testing_support::ensureApplication();
        fixtures::quietFfmpegLogs();
        m_movie = fixtures::makeClip(m_folder.path(), "clip.mp4", {.width = 320, .height = 240});
    }

    std::unique_ptr<ui::FilterWindow> openWindow() {
        m_store = std::make_unique<platform::Preferences>(m_folder / "prefs.plist");
        auto window = std::make_unique<ui::FilterWindow>(*m_store, m_desktop);
        window->resize(820, 480);
        window->show();
        return window;
    }

    void choose(ui::FilterWindow& window, const QString& name) {
        auto& menu = child<QComboBox>(window, "filterPopUp");
        menu.setCurrentIndex(menu.findText(name));
        child<QPushButton>(window, "addButton").click();
    }

    testing_support::TestFolder m_folder;
    std::filesystem::path m_movie;
    std::unique_ptr<platform::Preferences> m_store;
    testing_support::RecordingDesktopServices m_desktop;
};

} // namespace

TEST_F(FilterWindowTest, TheChainIsEditedFromTheMenuAndKeptAcrossRuns) {
    auto window = openWindow();
    auto& menu = child<QComboBox>(*window, "filterPopUp");
    ASSERT_EQ(menu.count(), 32);
    choose(*window, "Select Filter");
    menu.setCurrentIndex(24); // the second "Crystallize" row adds the same filter
    child<QPushButton>(*window, "addButton").click();
    choose(*window, "Twirl Distortion");
    EXPECT_EQ(menu.currentIndex(), 0);
    EXPECT_EQ(window->chain(), (QStringList{"", "CICrystallize", "CITwirlDistortion"}));
    auto& table = child<QTableWidget>(*window, "table");
    ASSERT_EQ(table.rowCount(), 3);
    EXPECT_EQ(table.item(2, 0)->text(), "CITwirlDistortion");

    table.selectRow(0);
    child<QPushButton>(*window, "removeButton").click();
    EXPECT_EQ(window->chain(), (QStringList{"CICrystallize", "CITwirlDistortion"}));

    window->setMovie(m_movie);
    window.reset();
    window = openWindow();
    EXPECT_EQ(window->chain(), (QStringList{"CICrystallize", "CITwirlDistortion"}));
    EXPECT_EQ(window->moviePath(), m_movie);
    EXPECT_EQ(window->windowTitle(), "clip");

    // Remove with nothing selected empties the chain, and that is kept too.
    child<QPushButton>(*window, "removeButton").click();
    EXPECT_TRUE(window->chain().isEmpty());
    window.reset();
    EXPECT_TRUE(openWindow()->chain().isEmpty());
}

TEST_F(FilterWindowTest, ThePreviewShowsTheFilteredFrameUnlessApplyFiltersIsOff) {
    auto window = openWindow();
    window->setMovie(m_movie);
    const auto& view = child<ui::MoviePicture>(*window, "movieView");
    window->showFrameAt(0.5);
    const QImage plain = view.picture();
    ASSERT_EQ(plain.size(), QSize(320, 240));

    choose(*window, "Color Invert");
    const auto expected = media::filters::applyImageFilters(plain, {"CIColorInvert"});
    ASSERT_TRUE(expected);
    EXPECT_LT(meanDifference(view.picture(), *expected), 2.0);
    // What the screen shows: the view drawn, at its picture's place.
    const QImage drawn = window->grab().toImage();
    const QRect shown = view.pictureRect().translated(view.mapTo(window.get(), QPoint(0, 0)));
    const QImage onScreen = drawn.copy(shown).scaled(320, 240, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    EXPECT_LT(meanDifference(onScreen, *expected), 12.0);
    EXPECT_GT(meanDifference(onScreen, plain), 60.0);

    child<QCheckBox>(*window, "applyFiltersCheck").setChecked(false);
    EXPECT_LT(meanDifference(view.picture(), plain), 1.0);

    // Save Frame copies the frame through the whole chain all the same.
    window->saveFrame();
    const QImage copied = QApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(copied.size(), QSize(320, 240));
    EXPECT_LT(meanDifference(copied, *expected), 2.0);

    window->play();
    testing_support::runEventsUntil([&] { return !window->isPlaying(); });
    EXPECT_NEAR(window->currentTime(), 0.96, 0.001); // the last frame
}

TEST_F(FilterWindowTest, ThePreviewPlaysTheSoundAndItsPicturesKeepToIt) {
    const auto movie = fixtures::makeClip(m_folder.path(), "talk.mp4", {.frames = 75});
    auto window = openWindow();
    window->setMovie(movie);
    choose(*window, "Color Invert");
    window->play();
    testing_support::runEventsUntil([&] { return window->soundTime().value_or(0) > 1.0; });
    // The picture shown is the one due by the sound's clock: a few frames
    // of slack, as the test runs under sanitizers on a busy machine.
    EXPECT_NEAR(window->currentTime(), *window->soundTime(), 0.25);
    window->pause();
    EXPECT_FALSE(window->isPlaying());
    testing_support::runEventsUntil([&] { return !window->soundTime(); });
    // Going to a time takes the sound there too; played on, both reach the end.
    window->showFrameAt(2.0);
    window->play();
    testing_support::runEventsUntil([&] { return window->soundTime().value_or(0) > 2.3 || !window->isPlaying(); });
    ASSERT_TRUE(window->soundTime().has_value()) << "the sound plays on from where the picture went";
    EXPECT_GT(*window->soundTime(), 2.0);
    testing_support::runEventsUntil([&] { return !window->isPlaying(); });
    EXPECT_NEAR(window->currentTime(), 2.96, 0.001); // the last frame
}

TEST_F(FilterWindowTest, RenderingWritesTheMovieOpensItAndStopLeavesNothing) {
    auto window = openWindow();
    window->setMovie(m_movie);
    choose(*window, "Gaussian Blur");
    auto& button = child<QPushButton>(*window, "filterButton");

    // Cancelling the save panel starts nothing.
    window->setOutputChooser([] { return std::nullopt; });
    button.click();
    EXPECT_FALSE(window->isRendering());

    const auto output = m_folder / "Filtered Movie.mp4";
    window->setOutputChooser([&] { return output; });
    button.click();
    EXPECT_EQ(button.text(), "Stop");
    bool succeeded = false;
    bool finished = false;
    QObject::connect(window.get(), &ui::FilterWindow::renderingFinished, [&](bool ok) {
        succeeded = ok;
        finished = true;
    });
    testing_support::runEventsUntil([&] { return finished; });
    EXPECT_TRUE(succeeded);
    EXPECT_EQ(button.text(), "Filter");
    EXPECT_TRUE(std::filesystem::exists(output));
    EXPECT_EQ(m_desktop.opened(), std::vector<std::filesystem::path>{output});

    // Stop at once: the run ends cancelled and leaves no file.
    const auto stopped = m_folder / "stopped.mp4";
    window->setOutputChooser([&] { return stopped; });
    finished = false;
    button.click();
    button.click();
    testing_support::runEventsUntil([&] { return finished; });
    EXPECT_FALSE(succeeded);
    EXPECT_FALSE(std::filesystem::exists(stopped));
    EXPECT_EQ(testing_support::namesIn(m_folder.path()),
              (std::vector<std::string>{"Filtered Movie.mp4", "clip.mp4", "prefs.plist"}));
}

TEST_F(FilterWindowTest, EveryControlHasANameAndTheCompletionSoundIsOurs) {
    auto window = openWindow();
    testing_support::expectEveryControlNamed(
        *window, [](QWidget* widget) { return qobject_cast<ui::MoviePicture*>(widget) != nullptr; });

    QFile harp(":/sounds/harp.aif");
    ASSERT_TRUE(harp.open(QIODevice::ReadOnly));
    const auto sound = ui::readAiffSound(harp.readAll());
    ASSERT_TRUE(sound);
    EXPECT_EQ(sound->format.sampleRate(), 44100);
    EXPECT_EQ(sound->format.channelCount(), 1);
    EXPECT_NEAR(sound->samples.size() / 2 / 44100.0, 1.6, 0.01);
    EXPECT_FALSE(ui::readAiffSound(QByteArray("FORM\0\0\0\x10" "AIFFCOMM\xff\xff\xff\xff", 20)));
    EXPECT_FALSE(ui::readAiffSound("RIFF"));
}
