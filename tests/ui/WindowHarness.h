#pragma once

// The real main window over a preferences file of its own, offscreen, with
// the means to answer its alerts and dialogs from a test.

#include "MediaFixtures.h"
#include "TestApplication.h"
#include "TestFolder.h"
#include "ScriptedFolderChooser.h"
#include "app/JobRunner.h"
#include "app/Session.h"
#include "platform/Preferences.h"
#include "ui/MainWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace testing_support {

// Runs handle on each modal widget that comes up while the work that
// follows runs (modal dialogs run their own event loop, so the test cannot
// answer them from its own code). Stops with the object.
class ModalAnswerer final {
public:
    explicit ModalAnswerer(std::function<void(QWidget&)> handle) : m_handle(std::move(handle)) {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (QWidget* modal = QApplication::activeModalWidget())
                m_handle(*modal);
        });
        m_timer.start(10);
    }

private:
    std::function<void(QWidget&)> m_handle;
    QTimer m_timer;
};

// Presses the OK button of an alert and answers its texts.
inline QStringList pressOK(QMessageBox& box) {
    const QStringList texts{box.text(), box.informativeText()};
    box.buttons().constFirst()->click();
    return texts;
}

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        fixtures::quietFfmpegLogs();
        ensureApplication();
        m_store = std::make_unique<platform::Preferences>(dir() / "preferences.plist");
        // The desktop's trash (files replaced by a rewrite go there) is the test's own.
        qputenv("XDG_DATA_HOME", QFile::encodeName(QString::fromStdString(m_data.path().string())));
    }
    void TearDown() override {
        if (m_window)
            m_window->terminate();
    }

    // Opens the window and runs launch, as starting the program does.
    ui::MainWindow& launch() {
        m_window = std::make_unique<ui::MainWindow>(*m_store);
        m_window->launch();
        return *m_window;
    }
    // Quits and starts the program again over the same preferences file.
    ui::MainWindow& relaunch() {
        m_window->terminate();
        m_window.reset();
        m_store = std::make_unique<platform::Preferences>(dir() / "preferences.plist");
        return launch();
    }

    // The preferences file of the next launch is in folder (a child process's own test uses its parent's).
    void useStoreIn(const std::filesystem::path& folder) {
        m_store = std::make_unique<platform::Preferences>(folder / "preferences.plist");
    }
    const std::filesystem::path& dir() const { return m_dir.path(); }
    std::filesystem::path trashFolder() const { return m_data.path() / "Trash" / "files"; }
    ui::MainWindow& window() { return *m_window; }
    app::Session& session() { return m_window->session(); }
    // Stores folder (made when missing) as the output folder, as the preferences window does.
    void useOutputFolder(const std::filesystem::path& folder) {
        std::filesystem::create_directories(folder);
        ScriptedFolderChooser chooser(folder);
        ASSERT_TRUE(session().outputFolder().choose(chooser));
    }
    template <typename Widget> Widget& child(const char* name) {
        return testing_support::child<Widget>(*m_window, name);
    }
    std::filesystem::path clip(const std::string& name, int frames = 25) {
        return fixtures::makeClip(dir(), name, {.frames = frames});
    }

private:
    TestFolder m_dir;
    TestFolder m_data;
    std::unique_ptr<platform::Preferences> m_store;
    std::unique_ptr<ui::MainWindow> m_window;
};

} // namespace testing_support
