// The file list between runs (saved at termination, restored at launch,
// following "RememberFileList", with files that went away in between), and
// added sound files turned into movies when "convertSoundToMovie" is on.

#include "AppHarness.h"
#include "platform/FileReference.h"

namespace {

namespace fs = std::filesystem;

class ListBetweenRunsTest : public testing_support::AppHarness {
protected:
    QStringList titles() {
        QStringList result;
        for (const auto& entry : controller().fileList().movies())
            result.push_back(entry.title);
        return result;
    }
    bool stored(const char* key) { return platform::Preferences(dir() / "config" / "preferences.plist").contains(key); }
};

TEST_F(ListBetweenRunsTest, RestoresTheSavedListWithoutFilesThatAreGone) {
    const std::vector<fs::path> files{picture("a.png"), picture("b.png"), picture("c.png")};
    defaults().setValue(support::Pref::RememberFileList, true);
    controller().fileList().joinClips(files);
    for (int i = 0; i < 3; ++i)
        controller().fileList().setTitle(i, QStringList{"First", "Second", "Third"}[i]);
    relaunch({}, [&] {
        fs::remove(files[1]);
        fs::rename(files[2], dir() / "moved.png");
    });
    EXPECT_EQ(titles(), QStringList({"First", "Third"}));
    EXPECT_EQ(controller().fileList().pathOfEntry(1), dir() / "moved.png");
}

TEST_F(ListBetweenRunsTest, ForgetsTheListWhenNotRemembered) {
    defaults().setValue(support::Pref::RememberFileList, true);
    controller().fileList().joinClips({picture("clip.png")});
    relaunch();
    EXPECT_TRUE(stored("MovieAliases"));
    controller().fileList().clearAll();
    relaunch();
    EXPECT_FALSE(stored("MovieAliases") || stored("ChapterTitles")) << "remembered but empty: both keys go";
    defaults().setValue(support::Pref::RememberFileList, false);
    controller().fileList().joinClips({dir() / "clip.png"});
    relaunch();
    EXPECT_FALSE(stored("MovieAliases"));
    defaults().setValue(support::Pref::RememberFileList, true);
    relaunch();
    EXPECT_EQ(controller().fileList().count(), 0) << "nothing from the earlier run";
}

TEST_F(ListBetweenRunsTest, ASoundFileBecomesTheEntryOfItsNewMovieOnlyWhenAsked) {
    const fs::path sound = fixtures::makeSound(dir(), "song.wav", 8000, 1, 0.5);
    filelist::FileList& list = controller().fileList();
    list.joinClip(platform::getAlias(sound), 0, std::nullopt);
    EXPECT_EQ(list.pathOfEntry(0), sound) << "the preference is off by default";
    defaults().setValue(support::Pref::ConvertSoundToMovie, true);
    list.joinClip(platform::getAlias(sound), 1, std::nullopt);
    ASSERT_EQ(list.count(), 2);
    const auto converted = list.pathOfEntry(1);
    ASSERT_TRUE(converted);
    EXPECT_EQ(converted->parent_path(), dir());
    EXPECT_TRUE(converted->filename().string().starts_with("song-") && converted->extension() == ".mov");
    EXPECT_TRUE(list.movies()[1].qtkMovie->hasTrackOfType(media::MediaType::Video));
    EXPECT_EQ(list.movies()[1].qtkMovie->fileName(), *converted);
}

} // namespace
