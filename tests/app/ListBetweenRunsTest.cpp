// The file list between runs (saved at termination, restored at launch,
// following "RememberFileList", with files that went away in between), and
// added sound files turned into movies when "convertSoundToMovie" is on.

#include "AppHarness.h"

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
    EXPECT_TRUE(m_store->contains("MovieAliases"));
    controller().fileList().clearAll();
    relaunch();
    EXPECT_FALSE(m_store->contains("MovieAliases") || m_store->contains("ChapterTitles"))
        << "remembered but empty: both keys go";
    defaults().setValue(support::Pref::RememberFileList, false);
    controller().fileList().joinClips({dir() / "clip.png"});
    relaunch();
    EXPECT_FALSE(m_store->contains("MovieAliases"));
    defaults().setValue(support::Pref::RememberFileList, true);
    relaunch();
    EXPECT_EQ(controller().fileList().count(), 0) << "nothing from the earlier run";
}

// The controller gives the list the application's own conversion.
TEST_F(ListBetweenRunsTest, ASoundFileBecomesTheEntryOfItsNewMovieWhenAsked) {
    defaults().setValue(support::Pref::ConvertSoundToMovie, true);
    controller().fileList().joinClips({fixtures::makeSound(dir(), "song.wav", 8000, 1, 0.5)});
    const auto converted = controller().fileList().pathOfEntry(0);
    ASSERT_TRUE(converted);
    EXPECT_TRUE(converted->filename().string().starts_with("song-") && converted->extension() == ".mov");
    EXPECT_TRUE(controller().fileList().movies()[0].qtkMovie->hasTrackOfType(media::MediaType::Video));
}

} // namespace
