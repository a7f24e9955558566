// The list commands as the window runs them (ordering, renaming, list files):
// what the user is told, and that nothing is lost on the way; and the list
// between runs.

#include "AppHarness.h"
#include "filelist/EntryFiles.h"
#include "filelist/ListEdits.h"
#include "FileContents.h"

#include <fstream>

namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

class OrderingTest : public testing_support::AppHarness {
protected:
    Names names() {
        Names result;
        for (const auto& path : filelist::resolvedPaths(list()))
            result.push_back(path.filename().string());
        return result;
    }
    // The list file asked for: where to write it, or which to read.
    std::optional<fs::path> m_file;
    bool exportFileList() {
        return m_listCommands->exportFileList([this] { return m_file; });
    }
    bool importFileList() {
        return m_listCommands->importFileList([this] { return m_file; });
    }
    QString lastMessage() const { return messageOf(lastNotice()); }
};

// How list files are written and read is FileListTest's; here, the panels and the order.
TEST_F(OrderingTest, ExportThenImportRestoresTheListsFiles) {
    list().addFiles({picture("b.png"), picture("a.png")});
    filelist::reverseList(list());
    const fs::path file = dir() / "list.txt";
    m_file = file;
    ASSERT_TRUE(exportFileList());
    EXPECT_EQ(testing_support::contentsOf(file),
              (dir() / "b.png").string() + "\n" + (dir() / "a.png").string());
    filelist::clearAll(list());
    ASSERT_TRUE(importFileList());
    EXPECT_EQ(names(), (Names{"a.png", "b.png"})) << "in text order, not the exported order";
    EXPECT_TRUE(m_notices.empty());
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
        m_file = file;
        EXPECT_FALSE(importFileList());
        ASSERT_FALSE(m_notices.empty());
        EXPECT_EQ(lastMessage(), message);
        EXPECT_EQ(names(), Names{"keep.png"});
    }
    EXPECT_TRUE(m_console.contains("latin1.txt\": not UTF-8 text"));
    // An empty file is an empty list; a cancelled panel reads nothing. Neither says anything.
    std::ofstream(dir() / "empty.txt").flush();
    const auto notices = m_notices.size();
    m_file = dir() / "empty.txt";
    EXPECT_TRUE(importFileList());
    m_file = std::nullopt;
    EXPECT_FALSE(importFileList());
    EXPECT_EQ(names(), Names{"keep.png"});
    EXPECT_EQ(m_notices.size(), notices);
}

TEST_F(OrderingTest, ExportTellsWhatItCouldNotWrite) {
    m_file = dir() / "list.txt";
    EXPECT_FALSE(exportFileList());
    EXPECT_EQ(lastMessage(), "There are no file paths to export.");
    EXPECT_FALSE(fs::exists(dir() / "list.txt")) << "nothing is asked for nothing";
    list().addFiles({picture("a.png"), picture("line\nbreak.png")});
    m_file = dir() / "none" / "list.txt";
    EXPECT_FALSE(exportFileList());
    EXPECT_EQ(lastMessage(), "The paths were NOT exported.");
    EXPECT_EQ(lastNotice().kind, support::Told::Failure);
    m_file = dir() / "list.txt";
    EXPECT_TRUE(exportFileList());
    EXPECT_EQ(lastMessage(), "1 of the file paths could not be exported.");
    EXPECT_EQ(testing_support::contentsOf(dir() / "list.txt"), (dir() / "a.png").string());
}

TEST_F(OrderingTest, RefusedRenamesBeepAndAreNamed) {
    list().addFiles({picture("a.png"), picture("b.png"), picture("c.png")});
    std::ofstream(dir() / "000001 a.png") << "x";
    std::ofstream(dir() / "000003 c.png") << "x";
    const auto outcome = m_listCommands->renameFilesInSequence();
    EXPECT_EQ(outcome.renamed.size(), 1u);
    EXPECT_EQ(m_beeps, 2);
    EXPECT_TRUE(m_notices.empty()) << "a beep, no alert, per refused file";
    EXPECT_EQ(m_statuses.constLast(), "1 file was renamed. These files were not renamed: a.png, c.png");
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
    filelist::setTitle(list(), 0, "First");
    filelist::setTitle(list(), 2, "Third");
    relaunch([&] {
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
    filelist::clearAll(list());
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

// The session gives the list the application's own conversion.
TEST_F(ListBetweenRunsTest, ASoundFileBecomesTheEntryOfItsNewMovieWhenAsked) {
    defaults().setValue(support::Pref::ConvertSoundToMovie, true);
    list().addFiles({fixtures::makeSound(dir(), "song.wav", 8000, 1, 0.5)});
    const auto converted = list().pathOfEntry(0);
    ASSERT_TRUE(converted);
    EXPECT_TRUE(converted->filename().string().starts_with("song-") && converted->extension() == ".mov");
    EXPECT_TRUE(list().movies()[0].movie->hasTrackOfType(media::MediaType::Video));
}

} // namespace
