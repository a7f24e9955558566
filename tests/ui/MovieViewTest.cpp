// The movie view over libmpv, offscreen: it loads, steps to the exact frames
// that decoding gives at its times, plays to the end at the rate asked for,
// and keeps sound and picture together.

#include "MediaFixtures.h"
#include "PictureDifference.h"
#include "TestApplication.h"
#include "TestFolder.h"
#include "media/Movie.h"
#include "ui/MovieView.h"

#include <QElapsedTimer>
#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

using testing_support::meanDifference;
using testing_support::runEventsUntil;

class MovieViewTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // No sound device is needed: the null output keeps libmpv's audio clock.
        setenv("JOINCLIP_AUDIO_OUTPUT", "null", 1);
        testing_support::ensureApplication();
        fixtures::quietFfmpegLogs();
    }

    std::filesystem::path clip(int frames) {
        fixtures::ClipRecipe recipe;
        recipe.frames = frames;
        recipe.width = 160;
        recipe.height = 120;
        return fixtures::makeClip(m_folder.path(), "clip" + std::to_string(frames) + ".mp4", recipe);
    }

    void openAndWait(ui::MovieView& view, const std::filesystem::path& path) {
        ASSERT_TRUE(view.open(QString::fromStdString(path.string())));
        runEventsUntil([&] { return view.isLoaded() && view.durationSeconds() > 0; });
    }

    // Steps `frames` frames of a 25 fps movie and waits for the landing frame's time.
    static void step(ui::MovieView& view, int frames) {
        const double expected = view.currentSeconds() + frames / 25.0;
        view.step(frames);
        runEventsUntil([&] { return std::abs(view.currentSeconds() - expected) < 1e-4 && !view.isPlaying(); });
    }

    testing_support::TestFolder m_folder;
};

TEST_F(MovieViewTest, StepsForwardAndBackShowTheFramesDecodedAtTheirTimes) {
    const auto path = clip(25);
    auto movie = media::Movie::open(path);
    ASSERT_TRUE(movie.has_value());
    ui::MovieView view;
    view.resize(320, 240);
    openAndWait(view, path);
    EXPECT_NEAR(view.durationSeconds(), 1.0, 0.05);

    const std::int32_t scale = 12800;
    auto checkShownFrame = [&](int expectedIndex) {
        EXPECT_NEAR(view.currentSeconds(), expectedIndex / 25.0, 1e-3);
        const auto shown = view.grabFrame();
        ASSERT_TRUE(shown.has_value());
        EXPECT_EQ(shown->size(), QSize(160, 120));
        const auto decoded = (*movie)->frameImage(view.currentTime(scale));
        ASSERT_TRUE(decoded);
        const double same = meanDifference(*shown, *decoded);
        EXPECT_LT(same, 4.0) << "frame " << expectedIndex;
        // The frames before and after it differ more (the pattern moves a little each frame).
        for (const int other : {expectedIndex - 1, expectedIndex + 1}) {
            if (other < 0)
                continue;
            const auto neighbour = (*movie)->frameImage(media::makeTime(other * scale / 25, scale));
            ASSERT_TRUE(neighbour);
            EXPECT_LT(same, meanDifference(*shown, *neighbour)) << "frame " << expectedIndex << " against " << other;
        }
    };
    step(view, 1);
    step(view, 1);
    step(view, 4);
    checkShownFrame(6);
    step(view, -1);
    checkShownFrame(5);
    step(view, -2);
    checkShownFrame(3);

    // An exact seek lands on the frame whose interval holds the time.
    view.setCurrentSeconds(0.51);
    runEventsUntil([&] { return std::abs(view.currentSeconds() - 0.48) < 1e-3; });
    checkShownFrame(12);
    bool sought = false;
    QObject::connect(&view, &ui::MovieView::seekFinished, [&] { sought = true; });
    view.setCurrentSeconds(0);
    runEventsUntil([&] { return sought && view.currentSeconds() < 1e-3; });
    checkShownFrame(0);
}

TEST_F(MovieViewTest, PlaysToTheEndInSyncAndTwiceAsFastAtRateTwo) {
    const auto path = clip(50);
    ui::MovieView view;

    auto playToEnd = [&](double rate) {
        openAndWait(view, path);
        view.setRate(rate);
        std::vector<double> offsets;
        QElapsedTimer timer;
        timer.start();
        view.play();
        runEventsUntil([&] {
            if (const auto offset = view.soundAheadOfPicture(); offset && view.currentSeconds() > 0.2)
                offsets.push_back(std::abs(*offset));
            return view.isAtEnd();
        });
        EXPECT_FALSE(view.isPlaying());
        EXPECT_GE(view.currentSeconds(), 49 / 25.0 - 1e-3) << "at the last frame or the sound's end";
        // Picture and sound clocks within one frame of each other: the median
        // offset, since a machine busy with other work can hold the picture
        // back for a moment, which the player then catches up.
        EXPECT_FALSE(offsets.empty()) << "the player tells both clocks";
        const auto middle = offsets.begin() + static_cast<std::ptrdiff_t>(offsets.size() / 2);
        std::nth_element(offsets.begin(), middle, offsets.end());
        EXPECT_LT(offsets.empty() ? 0.0 : *middle, 1 / 25.0) << "rate " << rate;
        return static_cast<double>(timer.elapsed());
    };
    const double normal = playToEnd(1.0);
    const double doubled = playToEnd(2.0);
    // Proportions only: the machine's load changes both alike.
    EXPECT_GT(normal, 1500);
    EXPECT_NEAR(doubled / normal, 0.5, 0.15);
}

TEST_F(MovieViewTest, EmptyViewHasNothingToGrabAndIgnoresPlayback) {
    ui::MovieView view;
    EXPECT_FALSE(view.grabFrame().has_value());
    view.play();
    view.step(1);
    EXPECT_FALSE(view.isPlaying());
    // Transparent where there is no picture, unless a fill colour is set.
    view.resize(40, 30);
    const auto centre = [&] {
        QImage drawn(view.size(), QImage::Format_ARGB32_Premultiplied);
        drawn.fill(Qt::transparent);
        view.render(&drawn, {}, {}, QWidget::DrawChildren);
        return drawn.pixelColor(20, 15);
    };
    EXPECT_EQ(centre().alpha(), 0);
    view.setFillColor(Qt::white);
    EXPECT_EQ(centre(), QColor(Qt::white));
    const auto path = clip(5);
    openAndWait(view, path);
    view.close();
    EXPECT_FALSE(view.isLoaded());
    EXPECT_FALSE(view.grabFrame().has_value());
}

} // namespace
