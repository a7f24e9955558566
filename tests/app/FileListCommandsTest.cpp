// The list commands as the window runs them (ordering, renaming, list files):
// what the user is told, and that nothing is lost on the way; and the list
// between runs.

#include "AppHarness.h"
#include "FileContents.h"

#include <fstream>

namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

class OrderingTest : public testing_support::AppHarness {
protected:
    filelist::FileList& list() { return controller().fileList(); }
    Names names() {
        Names result;
        for (const auto& path : list().resolvedPaths())
            result.push_back(path.filename().string());
        return result;
    }
    const testing_support::RecordingAlertPresenter::Alert& lastAlert() { return m_alerts.alerts().back(); }
};

// How list files are written and read is FileListTest's; here, the panels and the order.
TEST_F(OrderingTest, ExportThenImportRestoresTheListsFiles) {
    list().addFiles({picture("b.png"), picture("a.png")});
    controller().fileList().reverseList();
    const fs::path file = dir() / "list.txt";
    m_savePanel.setAnswer(file);
    ASSERT_TRUE(controller().exportFileList());
    EXPECT_EQ(m_savePanel.openings().back().suggestedName, "JoinClip File List Export");
    EXPECT_EQ(m_savePanel.openings().back().requiredExtension, QString(".txt"));
    EXPECT_EQ(testing_support::contentsOf(file),
              (dir() / "b.png").string() + "\n" + (dir() / "a.png").string());
    list().clearAll();
    m_openPanel.setAnswer(file);
    ASSERT_TRUE(controller().importFileList());
    EXPECT_EQ(names(), (Names{"a.png", "b.png"})) << "in text order, not the exported order";
    EXPECT_TRUE(m_alerts.alerts().empty());
}

TEST_F(OrderingTest, AListFileThatCannotBeReadIsToldAndChangesNothing) {
    list().addFiles({picture("keep.png")});
    defaults().setValue(support::Pref::ClearListWhenAddingFiles, true);
    std::ofstream(dir() / "latin1.txt") << (dir() / "caf\xE9.png").string();
    fs::create_directories(dir() / "folder.txt");
    const std::vector<std::pair<fs::path, QString>> cases = {
        {dir() / "latin1.txt", "The file \"latin1.txt\" is not a file list."},
        {dir() / "missing.txt", "The file \"missing.txt\" could not be read."},
        {dir() / "folder.txt", "The file \"folder.txt\" could not be read."}};
    for (const auto& [file, message] : cases) {
        m_openPanel.setAnswer(file);
        EXPECT_FALSE(controller().importFileList());
        ASSERT_FALSE(m_alerts.alerts().empty());
        EXPECT_EQ(lastAlert().message, message);
        EXPECT_EQ(names(), Names{"keep.png"});
    }
    EXPECT_TRUE(m_console.contains("latin1.txt\": not UTF-8 text"));
    // An empty file is an empty list; a cancelled panel reads nothing. Neither says anything.
    std::ofstream(dir() / "empty.txt").flush();
    const auto alerts = m_alerts.alerts().size();
    m_openPanel.setAnswer(dir() / "empty.txt");
    EXPECT_TRUE(controller().importFileList());
    m_openPanel.setAnswer(std::nullopt);
    EXPECT_FALSE(controller().importFileList());
    EXPECT_EQ(names(), Names{"keep.png"});
    EXPECT_EQ(m_alerts.alerts().size(), alerts);
}

TEST_F(OrderingTest, ExportTellsWhatItCouldNotWrite) {
    EXPECT_FALSE(controller().exportFileList());
    EXPECT_EQ(lastAlert().message, "There are no file paths to export.");
    EXPECT_TRUE(m_savePanel.openings().empty());
    list().addFiles({picture("a.png"), picture("line\nbreak.png")});
    m_savePanel.setAnswer(dir() / "none" / "list.txt");
    EXPECT_FALSE(controller().exportFileList());
    EXPECT_EQ(lastAlert().message, "The paths were NOT exported.");
    EXPECT_FALSE(lastAlert().isSheet());
    m_savePanel.setAnswer(dir() / "list.txt");
    EXPECT_TRUE(controller().exportFileList());
    EXPECT_EQ(lastAlert().message, "1 of the file paths could not be exported.");
    EXPECT_EQ(testing_support::contentsOf(dir() / "list.txt"), (dir() / "a.png").string());
}

TEST_F(OrderingTest, RefusedRenamesBeepAndAreNamed) {
    list().addFiles({picture("a.png"), picture("b.png"), picture("c.png")});
    std::ofstream(dir() / "000001 a.png") << "x";
    std::ofstream(dir() / "000003 c.png") << "x";
    const auto outcome = controller().renameFilesInSequence();
    EXPECT_EQ(outcome.renamed.size(), 1u);
    EXPECT_EQ(m_alerts.beepCount(), 2);
    EXPECT_TRUE(m_alerts.alerts().empty()) << "a beep, no alert, per refused file";
    EXPECT_EQ(m_messages.text(), "1 file was renamed. These files were not renamed: a.png, c.png");
    EXPECT_TRUE(m_console.contains("Could not rename \"" +
                                   QString::fromStdString((dir() / "a.png").string()) +
                                   "\" to \"000001 a.png\": File exists"));
    EXPECT_EQ(names(), (Names{"a.png", "000002 b.png", "c.png"}));
}

// The file list between runs (saved at termination, restored at launch,
// following "RememberFileList", with files that went away in between), and
// added sound files turned into movies when "convertSoundToMovie" is on.
using ListBetweenRunsTest = OrderingTest;

TEST_F(ListBetweenRunsTest, RestoresTheSavedListWithoutFilesThatAreGone) {
    const std::vector<fs::path> files{picture("a.png"), picture("b.png"), picture("c.png")};
    defaults().setValue(support::Pref::RememberFileList, true);
    list().addFiles(files);
    list().setTitle(0, "First");
    list().setTitle(2, "Third");
    relaunch({}, [&] {
        fs::remove(files[1]);
        fs::rename(files[2], dir() / "moved.png");
    });
    ASSERT_EQ(list().count(), 2);
    EXPECT_EQ(list().movies()[0].title + list().movies()[1].title, "FirstThird");
    EXPECT_EQ(list().pathOfEntry(1), dir() / "moved.png");
}

TEST_F(ListBetweenRunsTest, ForgetsTheListWhenNotRemembered) {
    defaults().setValue(support::Pref::RememberFileList, true);
    list().addFiles({picture("clip.png")});
    relaunch();
    EXPECT_TRUE(m_store->contains("MovieAliases"));
    list().clearAll();
    relaunch();
    EXPECT_FALSE(m_store->contains("MovieAliases") || m_store->contains("ChapterTitles"))
        << "remembered but empty: both keys go";
    defaults().setValue(support::Pref::RememberFileList, false);
    list().addFiles({dir() / "clip.png"});
    relaunch();
    EXPECT_FALSE(m_store->contains("MovieAliases"));
    defaults().setValue(support::Pref::RememberFileList, true);
    relaunch();
    EXPECT_EQ(list().count(), 0) << "nothing from the earlier run";
}

// The controller gives the list the application's own conversion.
TEST_F(ListBetweenRunsTest, ASoundFileBecomesTheEntryOfItsNewMovieWhenAsked) {
    defaults().setValue(support::Pref::ConvertSoundToMovie, true);
    list().addFiles({fixtures::makeSound(dir(), "song.wav", 8000, 1, 0.5)});
    const auto converted = list().pathOfEntry(0);
    ASSERT_TRUE(converted);
    EXPECT_TRUE(converted->filename().string().starts_with("song-") && converted->extension() == ".mov");
    EXPECT_TRUE(list().movies()[0].movie->hasTrackOfType(media::MediaType::Video));
}

} // namespace
