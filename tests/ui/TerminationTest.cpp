// The real program ended as a logout ends it: the list it shows is saved as a
// quit saves it.

#include "MediaFixtures.h"
#include "TestFolder.h"
#include "platform/Preferences.h"
#include "ui/SingleInstance.h"

#include <QProcess>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

bool eventually(const std::function<bool()>& answer) {
    for (int attempt = 0; attempt < 600; ++attempt) {
        if (answer())
            return true;
        QThread::msleep(100);
    }
    return false;
}

TEST(TerminationTest, SigtermAndSighupSaveTheListAsAQuitDoes) {
    for (const int signal : {SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal);
        testing_support::TestFolder folder;
        const fs::path a = fixtures::makePicture(folder.path(), "a.png", 16, 16);
        const fs::path b = fixtures::makePicture(folder.path(), "b.png", 16, 16);
        const fs::path runtime = folder.path() / "runtime";
        fs::create_directory(runtime);
        fs::permissions(runtime, fs::perms::owner_all);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime));
        environment.insert("XDG_CONFIG_HOME", QString::fromStdString(folder.path() / "config"));
        environment.insert("ASAN_OPTIONS", "detect_leaks=0");
        environment.remove("DBUS_SESSION_BUS_ADDRESS");
        const auto run = [&](const QStringList& arguments) {
            QProcess program;
            program.setProcessEnvironment(environment);
            program.setProcessChannelMode(QProcess::ForwardedChannels);
            program.start(JOINCLIP_PROGRAM, arguments);
            program.waitForFinished(60000);
            return program.exitCode();
        };
        ASSERT_EQ(run({"prefs", "set", "RememberFileList", "true"}), 0);

        QProcess window;
        window.setProcessEnvironment(environment);
        window.setProcessChannelMode(QProcess::ForwardedChannels);
        window.start(JOINCLIP_PROGRAM, {QString::fromStdString(a), QString::fromStdString(b)});
        const QString socket = QString::fromStdString(runtime / "joinclip.socket");
        ASSERT_TRUE(eventually([&] { return fs::exists(socket.toStdString()); }));
        // A hand-over is answered from the window's event loop, after its own files were added.
        ASSERT_EQ(ui::handOverToRunningInstance(socket, {}, 60000), ui::HandOver::Taken);
        ::kill(static_cast<pid_t>(window.processId()), signal);
        ASSERT_TRUE(window.waitForFinished(60000));
        EXPECT_EQ(window.exitStatus(), QProcess::CrashExit) << "ended by the signal, as the parent expects";

        platform::Preferences store(folder.path() / "config" / "JoinClip" / "preferences.plist");
        EXPECT_EQ(store.value("MovieAliases").toList().size(), 2);
        EXPECT_EQ(store.value("ChapterTitles").toList(), (QVariantList{"a", "b"}));
    }
}

} // namespace
