// The controller's file list turns added sound files into movies when
// "convertSoundToMovie" is on, with the application's own conversion.

#include "MediaFixtures.h"
#include "app/JoinClipController.h"
#include "cli/HeadlessWindow.h"
#include "platform/FileReference.h"
#include "platform/Preferences.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

class SoundConversionTest : public ::testing::Test {
protected:
    void SetUp() override { fixtures::quietFfmpegLogs(); }

    fs::path dir() const { return m_dir.path().toStdString(); }

    // The files in the folder other than the preferences.
    std::size_t mediaFileCount() const {
        std::size_t count = 0;
        for (const auto& item : fs::directory_iterator(dir()))
            count += item.path().extension() != ".plist" ? 1 : 0;
        return count;
    }

    QTemporaryDir m_dir;
};

TEST_F(SoundConversionTest, ASoundFileBecomesTheEntryOfItsNewMovieOnlyWhenAsked) {
    const fs::path sound = fixtures::makeSound(dir(), "song.wav", 8000, 1, 0.5);
    platform::Preferences store(dir() / "prefs.plist");
    cli::HeadlessWindow window(false);
    filelist::FileList::Services services;
    services.previewImage = [](const fs::path&) { return std::optional<QImage>(); };
    app::JoinClipController controller(store, window.outlets(), services);
    filelist::FileList& list = controller.fileList();

    list.joinClip(platform::getAlias(sound), 0, std::nullopt);
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list.pathOfEntry(0), sound) << "the preference is off by default";
    EXPECT_EQ(mediaFileCount(), 1u);

    controller.defaults().setValue(support::Pref::ConvertSoundToMovie, true);
    list.joinClip(platform::getAlias(sound), 1, std::nullopt);
    ASSERT_EQ(list.count(), 2);
    const auto converted = list.pathOfEntry(1);
    ASSERT_TRUE(converted);
    EXPECT_EQ(converted->parent_path(), dir());
    EXPECT_EQ(converted->extension(), ".mov");
    EXPECT_EQ(converted->filename().string().rfind("song-", 0), 0u);
    EXPECT_TRUE(list.movies()[1].qtkMovie->hasTrackOfType(media::MediaType::Video));
    EXPECT_EQ(list.movies()[1].qtkMovie->fileName(), *converted);
    EXPECT_EQ(mediaFileCount(), 2u);
}

} // namespace
