// The real program on a private X server: started with two clips, joined with
// its keyboard shortcut through the save dialog, quit with Ctrl+Q. The
// written movie is checked with ffprobe.

#include "Ffprobe.h"
#include "MediaFixtures.h"
#include "MovieTiming.h"
#include "TestFolder.h"

#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <functional>
#include <gtest/gtest.h>

namespace {

// An X server of the test's own; display() is empty when it did not start.
struct PrivateDesktop final {
    PrivateDesktop() {
        server.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1280x800x24", "-nolisten", "tcp"});
        // Xvfb prints the display number it took once it accepts clients.
        if (server.waitForStarted() && server.waitForReadyRead(60000))
            display = ":" + QString::fromLatin1(server.readLine().trimmed());
    }
    ~PrivateDesktop() {
        server.terminate();
        server.waitForFinished();
    }
    QProcess server;
    QString display;
};

// Asks until answer says yes, for at most a minute (or the seconds given): the
// program's windows come and go at their own pace.
bool eventually(const std::function<bool()>& answer, int seconds = 60) {
    for (int attempt = 0; attempt < seconds * 10; ++attempt) {
        if (answer())
            return true;
        QThread::msleep(100);
    }
    return false;
}

TEST(XvfbSmokeTest, JoinsTwoClipsThroughTheWindow) {
    if (QStandardPaths::findExecutable("Xvfb").isEmpty() ||
        QStandardPaths::findExecutable("xdotool").isEmpty())
        GTEST_SKIP() << "needs Xvfb and xdotool (scripts/setup installs them)";
    testing_support::TestFolder folder;
    const auto beach = fixtures::makeClip(folder.path(), "Beach.mp4", {});
    const auto harbour = fixtures::makeClip(folder.path(), "Harbour.mp4", {});
    const auto runtime = folder.path() / "runtime";
    std::filesystem::create_directory(runtime);
    std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
    PrivateDesktop desktop;
    ASSERT_FALSE(desktop.display.isEmpty()) << "Xvfb did not start";
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DISPLAY", desktop.display);
    environment.insert("QT_QPA_PLATFORM", "xcb");
    environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime));
    environment.insert("XDG_CONFIG_HOME", QString::fromStdString(folder.path() / "config"));
    environment.remove("DBUS_SESSION_BUS_ADDRESS");
    // The windowing libraries keep caches until the process ends.
    environment.insert("ASAN_OPTIONS", "detect_leaks=0");
    const auto xdotool = [&](const QStringList& arguments) {
        QProcess tool;
        tool.setProcessEnvironment(environment);
        tool.start("xdotool", arguments);
        tool.waitForFinished(30000);
        return QString::fromLocal8Bit(tool.readAllStandardOutput()).trimmed();
    };
    const auto visibleWindow = [&](const QString& title) {
        return xdotool({"search", "--onlyvisible", "--name", "^" + title + "$"}).section('\n', 0, 0);
    };
    QProcess program;
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(JOINCLIP_PROGRAM, {QString::fromStdString(beach), QString::fromStdString(harbour)});
    QString window;
    ASSERT_TRUE(eventually([&] { return !(window = visibleWindow("JoinClip")).isEmpty(); }));
    QString saveDialog;
    // Join (Ctrl+J) once the files are in and its menu item is enabled: the save dialog comes up.
    ASSERT_TRUE(eventually([&] {
        xdotool({"windowfocus", "--sync", window});
        xdotool({"key", "ctrl+j"});
        return eventually([&] { return !(saveDialog = visibleWindow("Save As")).isEmpty(); }, 3);
    }));
    xdotool({"windowfocus", "--sync", saveDialog});
    xdotool({"key", "ctrl+a"});
    xdotool({"type", "--delay", "2", QString::fromStdString(folder.path() / "joined")});
    // Return may first close the name completer's pop-up.
    ASSERT_TRUE(eventually([&] {
        xdotool({"key", "Return"});
        return eventually([&] { return visibleWindow("Save As").isEmpty(); }, 2);
    }));
    // The window is named after the written file once the join is done.
    ASSERT_TRUE(eventually([&] { return !visibleWindow("joined.mov").isEmpty(); }));
    xdotool({"windowfocus", "--sync", window});
    xdotool({"key", "ctrl+q"});
    ASSERT_TRUE(program.waitForFinished(60000)) << "Ctrl+Q quits";
    EXPECT_EQ(program.exitCode(), 0);
    const auto written = folder.path() / "joined.mov";
    ASSERT_TRUE(std::filesystem::exists(written));
    EXPECT_NEAR(oracle::formatDuration(written), 2.0, 0.05) << "two clips of one second";
    const std::vector<oracle::ProbedChapter> chapters = oracle::probeChapterList(written);
    ASSERT_EQ(chapters.size(), 2u);
    EXPECT_EQ(chapters[0].title + "," + chapters[1].title, "Beach,Harbour");
    EXPECT_NEAR(chapters[1].start, 1.0, 0.05);
}

} // namespace
