// The list between runs: saved at termination, restored at launch, following
// "RememberFileList", with files that went away in between.

#include "app/JoinClipController.h"
#include "cli/HeadlessWindow.h"
#include "platform/Preferences.h"

#include "MediaFixtures.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

class SavedListTest : public ::testing::Test {
protected:
    fs::path dir() const { return m_dir.path().toStdString(); }
    fs::path prefsFile() const { return dir() / "config" / "preferences.plist"; }

    // One run of the application: launch, what the test does, termination.
    void run(const std::function<void(app::JoinClipController&)>& duringRun) {
        platform::Preferences store(prefsFile());
        cli::HeadlessWindow window(false);
        app::JoinClipController controller(store, window.outlets(), quietServices());
        controller.awakeFromNib();
        controller.applicationWillFinishLaunching();
        duringRun(controller);
        controller.applicationWillTerminate();
    }

    static filelist::FileList::Services quietServices() {
        filelist::FileList::Services services;
        services.previewImage = [](const fs::path&) { return std::optional<QImage>(); };
        return services;
    }

    static std::vector<QString> titles(const app::JoinClipController& controller) {
        std::vector<QString> result;
        for (const auto& entry : controller.fileList().movies())
            result.push_back(entry.title);
        return result;
    }

    QTemporaryDir m_dir;
};

TEST_F(SavedListTest, RestoresTheSavedListWithoutFilesThatAreGone) {
    std::vector<fs::path> files;
    for (const char* name : {"a.png", "b.png", "c.png"})
        files.push_back(fixtures::makePicture(dir(), name, 16, 16));

    run([&](app::JoinClipController& controller) {
        controller.defaults().setValue(support::Pref::RememberFileList, true);
        controller.fileList().joinClips(files);
        controller.fileList().setTitle(0, "First");
        controller.fileList().setTitle(1, "Second");
        controller.fileList().setTitle(2, "Third");
    });
    fs::remove(files[1]);
    fs::rename(files[2], dir() / "moved.png");

    run([&](app::JoinClipController& controller) {
        EXPECT_EQ(titles(controller), (std::vector<QString>{"First", "Third"}));

        EXPECT_EQ(controller.fileList().pathOfEntry(1), dir() / "moved.png");
    });
}

TEST_F(SavedListTest, ForgetsTheListWhenNotRemembered) {
    const fs::path file = fixtures::makePicture(dir(), "clip.png", 16, 16);
    run([&](app::JoinClipController& controller) {
        controller.defaults().setValue(support::Pref::RememberFileList, true);
        controller.fileList().joinClips({file});
    });
    EXPECT_TRUE(platform::Preferences(prefsFile()).contains("MovieAliases"));

    // Remembered but empty: both keys go.
    run([&](app::JoinClipController& controller) { controller.fileList().clearAll(); });
    EXPECT_FALSE(platform::Preferences(prefsFile()).contains("MovieAliases"));
    EXPECT_FALSE(platform::Preferences(prefsFile()).contains("ChapterTitles"));

    run([&](app::JoinClipController& controller) {
        controller.defaults().setValue(support::Pref::RememberFileList, false);
        controller.fileList().joinClips({file});
    });
    EXPECT_FALSE(platform::Preferences(prefsFile()).contains("MovieAliases"));
    run([&](app::JoinClipController& controller) {
        controller.defaults().setValue(support::Pref::RememberFileList, true);
        EXPECT_EQ(controller.fileList().count(), 0) << "nothing from the earlier run";
    });
}

} // namespace
