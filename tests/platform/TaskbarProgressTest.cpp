// The taskbar progress signal, and the window icon that shows progress.

#include "platform/TaskbarProgress.h"

#include "platform/ApplicationDockTile.h"

#include <QGuiApplication>
#include <QIcon>
#include <gtest/gtest.h>

namespace {

TEST(TaskbarProgressTest, UpdateSignalCarriesTheApplicationAndItsProgress) {
    const QDBusMessage message = platform::TaskbarProgress::updateMessage(0.25, true);
    EXPECT_EQ(message.type(), QDBusMessage::SignalMessage);
    EXPECT_EQ(message.interface() + "." + message.member(), "com.canonical.Unity.LauncherEntry.Update");
    EXPECT_TRUE(message.path().startsWith("/com/canonical/unity/launcherentry/"));
    ASSERT_EQ(message.arguments().size(), 2);
    EXPECT_EQ(message.arguments()[0].toString(), "application://joinclip.desktop");
    EXPECT_TRUE(message.arguments()[1].toMap().value("progress-visible").toBool());
    // Out of range or unknown fractions never reach the desktop as such.
    for (const auto& [fraction, sent] : {std::pair{0.25, 0.25}, {7.0, 1.0}, {std::nan(""), 0.0}}) {
        const QVariantMap properties =
            platform::TaskbarProgress::updateMessage(fraction, true).arguments()[1].toMap();
        EXPECT_EQ(properties.value("progress").toDouble(), sent) << fraction;
    }
}

// Last: it makes the one application object of the test program.
TEST(ApplicationDockTileTest, ThePieReplacesTheWindowIconUntilRestored) {
    // No bus for this test: the signal must not reach the desktop of whoever runs it.
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    qunsetenv("XDG_RUNTIME_DIR");
    int argc = 1;
    char name[] = "platform_desktop_tests";
    char* argv[] = {name, nullptr};
    QGuiApplication application(argc, argv);
    const auto solid = [](QColor color) {
        QImage image(64, 64, QImage::Format_ARGB32);
        image.fill(color);
        return image;
    };
    const auto windowIconColor = [] {
        return QGuiApplication::windowIcon().pixmap(16, 16).toImage().pixelColor(8, 8);
    };
    QGuiApplication::setWindowIcon(QIcon(QPixmap::fromImage(solid(Qt::red))));
    platform::ApplicationDockTile tile;
    EXPECT_EQ(tile.applicationIcon().pixelColor(20, 20), QColor(Qt::red));
    tile.showProgress(solid(Qt::blue), 0.5);
    tile.showProgress(solid(Qt::blue), 0.6);
    EXPECT_EQ(windowIconColor(), QColor(Qt::blue));
    tile.restore();
    EXPECT_EQ(windowIconColor(), QColor(Qt::red)) << "the application's own icon, not the first pie";
}

} // namespace
