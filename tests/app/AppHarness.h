#pragma once

// The application's session with its job runner and commands over a
// preferences file of its own, for the tests of the commands. What the
// commands tell is recorded; their questions are answered from the test.
// relaunch() ends the run and starts the next one over the same preferences
// file, as quitting and opening the application again does.

#include "CoreApplication.h"
#include "MediaFixtures.h"
#include "RecordingConsole.h"
#include "RecordingDesktopPorts.h"
#include "ScriptedFolderChooser.h"
#include "ScriptedSettingsDialog.h"
#include "TestFolder.h"
#include "app/ExportSettingsCommands.h"
#include "app/JobRunner.h"
#include "app/ListCommands.h"
#include "app/Session.h"
#include "app/WriteCommands.h"
#include "platform/Preferences.h"
#include "support/FormatText.h"

#include <QEventLoop>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace testing_support {

class AppHarness : public ::testing::Test {
protected:
    using Status = app::JoinOutcome::Status;

    void SetUp() override {
        fixtures::quietFfmpegLogs();
        ensureCoreApplication();
        // The desktop's trash (files replaced by a rewrite go there) is the test's own.
        qputenv("XDG_DATA_HOME", QByteArray((dir() / "data").c_str()));
        relaunch();
    }

    // Ends the current run (if any), does whileClosed, and launches the next one.
    void relaunch(const std::function<void()>& whileClosed = {}) {
        if (m_session)
            m_session->save();
        m_exportSettings.reset();
        m_writes.reset();
        m_listCommands.reset();
        m_jobs.reset();
        m_session.reset();
        if (whileClosed)
            whileClosed();
        m_store = std::make_unique<platform::Preferences>(dir() / "config" / "preferences.plist");
        m_session = std::make_unique<app::Session>(*m_store, app::SessionOptions{.offeredComponents = m_components});
        m_jobs = std::make_unique<app::JobRunner>([this] { return m_clock; });
        m_listCommands = std::make_unique<app::ListCommands>(m_session->fileList(), m_console);
        m_writes = std::make_unique<app::WriteCommands>(*m_session, *m_jobs, m_console);
        m_exportSettings = std::make_unique<app::ExportSettingsCommands>(m_session->outputFormat(), m_console);
        const auto record = [this](const support::Notice& notice) { m_notices.push_back(notice); };
        QObject::connect(m_listCommands.get(), &app::ListCommands::noticed, record);
        QObject::connect(m_writes.get(), &app::WriteCommands::noticed, record);
        QObject::connect(m_exportSettings.get(), &app::ExportSettingsCommands::noticed, record);
        const auto status = [this](const QString& text) { m_statuses << text; };
        QObject::connect(m_listCommands.get(), &app::ListCommands::statusChanged, status);
        QObject::connect(m_writes.get(), &app::WriteCommands::statusChanged, status);
        QObject::connect(m_jobs.get(), &app::JobRunner::phaseChanged, status);
        QObject::connect(&m_session->fileList(), &filelist::FileList::statusChanged, status);
        QObject::connect(m_listCommands.get(), &app::ListCommands::renameRefused, [this] { ++m_beeps; });
        m_session->restore();
        attach();
    }

    // For harnesses with real windows: each launch, they attach to the new session and commands here.
    virtual void attach() {}

    // Join as the window runs it, answered by the save panel's answer; waits for the job's end.
    app::JoinOutcome join() {
        std::optional<app::JoinOutcome> ended;
        const QMetaObject::Connection connection = QObject::connect(
            m_writes.get(), &app::WriteCommands::joined, [&ended](const app::JoinOutcome& outcome) { ended = outcome; });
        const app::JoinOutcome started = m_writes->join(
            [this](const std::optional<std::filesystem::path>& folder, const QString& suggestedName) {
                m_saveQuestions.push_back({folder, suggestedName});
                return m_saveAnswer;
            });
        if (started.status == Status::Started)
            waitUntil([&ended] { return ended.has_value(); });
        QObject::disconnect(connection);
        return ended.value_or(started);
    }
    // Export as the window runs it, the folder asked for answered by m_chooser;
    // waits for the job's end and answers the files written.
    std::vector<std::filesystem::path> exportFiles() {
        std::optional<std::vector<std::filesystem::path>> written;
        const QMetaObject::Connection connection =
            QObject::connect(m_writes.get(), &app::WriteCommands::exported,
                             [&written](const std::vector<std::filesystem::path>& files) { written = files; });
        m_writes->exportFiles([this] { return m_chooser.chooseFolder({}, {}, {}); });
        if (m_jobs->isRunning())
            waitUntil([&written] { return written.has_value(); });
        QObject::disconnect(connection);
        return written.value_or(std::vector<std::filesystem::path>{});
    }
    // Runs this thread's events until done holds (or a minute has passed: the test then fails).
    void waitUntil(const std::function<bool()>& done) {
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (done())
                loop.quit();
        });
        poll.start(5);
        QTimer::singleShot(60000, &loop, &QEventLoop::quit);
        if (!done())
            loop.exec();
        ASSERT_TRUE(done()) << "the job did not end";
    }

    const std::filesystem::path& dir() const { return m_dir.path(); }
    app::Session& session() { return *m_session; }
    support::UserDefaults& defaults() { return m_session->defaults(); }
    filelist::FileList& list() { return m_session->fileList(); }
    std::filesystem::path picture(const std::string& name) { return fixtures::makePicture(dir(), name, 16, 16); }
    const support::Notice& lastNotice() const { return m_notices.back(); }
    // The texts of a notice as the user reads them (looked up, then filled).
    static QString messageOf(const support::Notice& notice) {
        return support::localizedText(notice.message, notice.messageArguments);
    }
    static QString informativeOf(const support::Notice& notice) {
        return support::localizedText(notice.informative, notice.informativeArguments);
    }

    // Makes folder and stores it as the output folder through the preferences command.
    void setOutputFolder(const std::filesystem::path& folder) {
        std::filesystem::create_directories(folder);
        m_chooser.setAnswer(folder);
        ASSERT_TRUE(m_session->outputFolder().choose(m_chooser));
        m_chooser = ScriptedFolderChooser();
    }

    struct SaveQuestion final {
        std::optional<std::filesystem::path> folder;
        QString suggestedName;
    };

    TestFolder m_dir;
    std::unique_ptr<platform::Preferences> m_store;
    std::uint32_t m_clock = 1000;
    // The components offered from the next launch on; none: the build's own.
    std::optional<std::vector<media::ExportComponent>> m_components;

    RecordingConsole m_console;
    RecordingDesktopServices m_desktop;
    ScriptedFolderChooser m_chooser;
    ScriptedSettingsDialog m_dialog;
    std::optional<std::filesystem::path> m_saveAnswer;
    std::vector<SaveQuestion> m_saveQuestions;
    std::vector<support::Notice> m_notices;
    QStringList m_statuses;
    int m_beeps = 0;

    std::unique_ptr<app::Session> m_session;
    std::unique_ptr<app::JobRunner> m_jobs;
    std::unique_ptr<app::ListCommands> m_listCommands;
    std::unique_ptr<app::WriteCommands> m_writes;
    std::unique_ptr<app::ExportSettingsCommands> m_exportSettings;
};

} // namespace testing_support
