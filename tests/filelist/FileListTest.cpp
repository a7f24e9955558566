// The file list: where batches, folders and single files land, titles, the
// total-duration line, removing, the controls that follow the count, and
// previews made only when asked for.

#include "filelist/FileList.h"

#include "MediaFixtures.h"
#include "RecordingEventPump.h"
#include "RecordingTextControl.h"
#include "TemporaryFolder.h"
#include "filelist/DurationLine.h"
#include "filelist/TableCells.h"
#include "platform/FileReference.h"
#include "platform/Preferences.h"
#include "support/StoredTextControl.h"
#include "support/UserDefaults.h"

#include <fstream>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

class FileListTest : public ::testing::Test {
protected:
    FileListTest() : store(m_folder.path() / "prefs.plist"), defaults(store) {
        filelist::FileListOutlets outlets{.movieTable = &table,
                                          .durationTextField = &durationField,
                                          .messagesTextField = &messages,
                                          .eventPump = &pump,
                                          .spinner = &spinner};
        support::Control** controls[] = {
            &outlets.clearButton,    &outlets.joinButton,           &outlets.exportButton,
            &outlets.reverseButton,  &outlets.sortButton,           &outlets.titleSortButton,
            &outlets.dateSortButton, &outlets.createDateSortButton, &outlets.exifSortButton};
        for (std::size_t i = 0; i < std::size(controls); ++i)
            *controls[i] = &m_controls[i];
        filelist::FileList::Services services;
        services.previewImage = [this](const fs::path& file) {
            previewsMade.push_back(file.filename().string());
            return std::optional<QImage>(QImage(4, 3, QImage::Format_RGB32));
        };
        services.makeDefaultFilename = [this](const fs::path& item, bool isFolder) {
            defaultFilenameCalls.emplace_back(item, isFolder);
        };
        services.createMovieFromSoundFile = [this](const fs::path& file) {
            return convertSound ? convertSound(file) : nullptr;
        };
        list = std::make_unique<filelist::FileList>(defaults, outlets, services);
    }

    fs::path dir() const { return m_folder.path(); }
    // A tiny picture: it opens as a movie of five seconds at scale 600.
    fs::path picture(const std::string& name, const fs::path& folder = {}) {
        fs::create_directories(dir() / folder);
        return fixtures::makePicture(dir() / folder, name, 16, 16);
    }
    void append(const fs::path& path) {
        list->joinClip(platform::getAlias(path), list->count(), std::nullopt);
    }

    // Whether the list controls (first three) or the ordering controls (the rest) are all `enabled`.
    bool listControls(bool enabled) const { return allAre(0, 3, enabled); }
    bool orderingControls(bool enabled) const { return allAre(3, 9, enabled); }
    bool allAre(int from, int to, bool enabled) const {
        for (int i = from; i < to; ++i)
            if (m_controls[i].isEnabled() != enabled)
                return false;
        return true;
    }
    // The file names of the entries, in list order.
    Names names() const {
        Names result;
        for (int i = 0; i < list->count(); ++i)
            result.push_back(list->pathOfEntry(i) ? list->pathOfEntry(i)->filename().string() : "<gone>");
        return result;
    }
    QString cell(const char* column, int row, bool fullPath = false) const {
        return filelist::objectValueForTableColumn(*list, column, row, fullPath).toString();
    }

    fixtures::test::TemporaryFolder m_folder;
    platform::Preferences store;
    support::UserDefaults defaults;
    filelist::StoredTableView table;
    support::StoredTextControl durationField;
    testing_support::RecordingTextControl messages;
    testing_support::RecordingEventPump pump;
    support::StoredProgressIndicator spinner;
    support::StoredControl m_controls[9];
    std::vector<std::pair<fs::path, bool>> defaultFilenameCalls;
    std::vector<std::string> previewsMade;
    std::function<std::shared_ptr<media::Movie>(const fs::path&)> convertSound;
    std::unique_ptr<filelist::FileList> list;
};

TEST_F(FileListTest, ABatchGoesToTheTopInTextOrderAndFoldersToTheEnd) {
    append(picture("x.png"));
    picture("one.png", "F1");
    picture("two.png", "F2");
    fs::create_directories(dir() / "F2" / "sub"); // subfolders are not entered
    list->joinClips({picture("clip10.png"), dir() / "F1", picture("b.png"), dir() / "F2",
                     picture("clip2.png"), picture("A.png")});
    EXPECT_EQ(names(), (Names{"A.png", "b.png", "clip2.png", "clip10.png", "x.png", "two.png", "one.png"}));
    EXPECT_TRUE(listControls(true) && orderingControls(true));
    // The default output name is derived from every item, the first in text order last.
    ASSERT_EQ(defaultFilenameCalls.size(), 6u);
    EXPECT_EQ(defaultFilenameCalls.back().first.filename(), "A.png");
    EXPECT_EQ(defaultFilenameCalls[0], std::make_pair(dir() / "F2", true));
    EXPECT_TRUE(previewsMade.empty()) << "building entries decodes no picture";
}

TEST_F(FileListTest, SingleEntriesDuplicatesAndFilesThatDoNotOpen) {
    const fs::path clip = picture("Holiday.png");
    list->joinClip(platform::getAlias(clip), 0, std::nullopt);
    list->joinClip(platform::getAlias(clip), 0, QString("Typed"));
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->movies()[0].alias, list->movies()[1].alias);
    EXPECT_EQ(list->movies()[0].title, "Typed");
    EXPECT_EQ(list->movies()[1].title, "Holiday");
    EXPECT_EQ(messages.text(), "Created movie: Holiday.png");
    EXPECT_TRUE(listControls(false)) << "a single insertion leaves the controls to its callers";

    const filelist::MovieEntry& entry = list->movies()[0];
    EXPECT_EQ(entry.duration, QString("0:00:00:05.0/600"));
    EXPECT_TRUE(entry.modificationDate && entry.creationDate && entry.fileSize);
    EXPECT_FALSE(entry.exifDate || entry.exifDateString || entry.icon);

    std::ofstream(dir() / "notes.txt") << "not a movie";
    append(dir() / "notes.txt");
    list->joinClip(QByteArray(), 0, std::nullopt);
    list->joinClip(QByteArray("garbage"), 0, std::nullopt);
    EXPECT_EQ(list->count(), 2);

    append(fixtures::makePicture(dir(), "photo.jpg", 16, 16, std::string(fixtures::kStandardExifDate)));
    EXPECT_EQ(list->movies()[2].exifDate, 3330439402);
    EXPECT_EQ(cell("EXIF Date Time", 2), "2009:07:14 18:03:22");
}

TEST_F(FileListTest, PreviewsAreMadeOnlyWhenAskedForAndOnlyForTheEntryStillThere) {
    list->joinClips({picture("a.png"), picture("b.png")});
    EXPECT_TRUE(list->needsPreview(0) && list->needsPreview(1));
    EXPECT_FALSE(filelist::objectValueForTableColumn(*list, "Icon", 0, false).isValid());

    list->updatePreviewAtIndex(1);
    EXPECT_EQ(previewsMade, Names{"b.png"});
    EXPECT_FALSE(list->needsPreview(1));
    EXPECT_EQ(filelist::objectValueForTableColumn(*list, "Icon", 1, false).value<QImage>().size(),
              QSize(4, 3));
    list->refreshTable();
    EXPECT_EQ(previewsMade.size(), 1u) << "refreshing keeps the preview and makes none";

    // A preview made elsewhere lands only on the entry it was made for.
    const QByteArray aliasOfA = list->movies()[0].alias;
    const QImage made(2, 2, QImage::Format_RGB32);
    EXPECT_FALSE(list->setPreviewAtIndex(1, aliasOfA, made)) << "row 1 holds another file";
    EXPECT_FALSE(list->setPreviewAtIndex(5, aliasOfA, made));
    EXPECT_TRUE(list->setPreviewAtIndex(0, aliasOfA, made));
    EXPECT_FALSE(list->needsPreview(0));
}

TEST_F(FileListTest, DefaultTitles) {
    append(picture("Beach Day.png"));
    list->setTitle(0, "Renamed");
    list->resetChapterTitles();
    EXPECT_EQ(list->movies()[0].title, "Beach Day");
    // Without a display name the file's name serves; without a file, "Chapter N".
    auto unnamed = media::Movie::makeEmpty();
    EXPECT_EQ(list->defaultChapterTitleForMovie(*unnamed, 0), "Beach Day.png");
    EXPECT_EQ(list->defaultChapterTitleForMovie(*unnamed, 4), "Chapter 5");
}

TEST_F(FileListTest, TotalDurationLine) {
    list->updateDurationTextField();
    EXPECT_TRUE(durationField.isHidden()) << "an empty list shows no total";
    for (const char* name : {"a.png", "b.png", "c.png", "d.png"})
        append(picture(name));
    EXPECT_FALSE(durationField.isHidden());
    const QString total = "Total Duration: 0:00:00:20.0/600";
    for (const auto& [desired, line] :
         {std::pair{qint64{0}, total}, std::pair{qint64{-5}, total},
          std::pair{qint64{30}, total + ", Total Scaled Duration: 0:00:00:30.0/600"}}) {
        defaults.setValue(support::Pref::DesiredDuration, desired);
        list->updateDurationTextField();
        EXPECT_EQ(durationField.text(), line) << desired;
    }
    list->clearAll();
    EXPECT_TRUE(durationField.isHidden());
    EXPECT_TRUE(listControls(false));

    // Sums across scales exactly; unreadable durations add nothing; a zero total is not scaled.
    using filelist::durationLine;
    EXPECT_EQ(durationLine({"0:00:00:01.0/25", "0:00:00:00.500/1000", "junk"}, std::nullopt),
              "Total Duration: 0:00:00:01.500/1000");
    EXPECT_EQ(durationLine({"0:00:00:00.0/600"}, 30)->indexOf("Scaled"), -1);
    EXPECT_EQ(durationLine({}, 30)->indexOf("Scaled"), -1);
}

TEST_F(FileListTest, RemovingSelectedRowsAndTheControlsThatFollow) {
    list->joinClips({picture("a.png"), picture("b.png"), picture("c.png")});
    table.setSelectedRows({0, 2});
    list->clearListButtonClicked();
    EXPECT_EQ(names(), (Names{"b.png"}));
    EXPECT_TRUE(listControls(true) && orderingControls(false));

    // No selection removes nothing; two entries keep the ordering controls.
    list->joinClips({picture("d.png")});
    table.setSelectedRows({});
    list->removeItem();
    EXPECT_EQ(list->count(), 2);
    EXPECT_TRUE(orderingControls(true));

    table.setSelectedRows({0, 1});
    list->removeItem();
    EXPECT_EQ(list->count(), 0);
    EXPECT_TRUE(listControls(false));
    EXPECT_TRUE(durationField.isHidden());
}

TEST_F(FileListTest, ClearingFirstAndFoldersWithNothingToOpen) {
    append(picture("old.png"));
    defaults.setValue(support::Pref::ClearListWhenAddingFiles, true);
    list->joinClips({});
    EXPECT_EQ(list->count(), 1) << "an empty batch changes nothing";
    list->joinClips({picture("new.png")});
    EXPECT_EQ(names(), (Names{"new.png"}));

    fs::create_directories(dir() / "only" / "sub");
    std::ofstream(dir() / "only" / "readme.txt") << "text";
    EXPECT_FALSE(list->addDirectoryItems(dir() / "only"));
    EXPECT_EQ(list->count(), 1);
    EXPECT_TRUE(spinner.isHidden());
}

TEST_F(FileListTest, EntriesFollowTheirFilesWhenRenamed) {
    append(picture("before.png"));
    fs::rename(dir() / "before.png", dir() / "after.png");
    EXPECT_EQ(cell("Filename", 0), "after.png");
    EXPECT_EQ(cell("Filename", 0, true).toStdString(), (dir() / "after.png").string());
    EXPECT_EQ(cell("Index", 0), "1");
    EXPECT_FALSE(filelist::objectValueForTableColumn(*list, "Unknown", 0, false).isValid());

    fs::remove(dir() / "after.png");
    EXPECT_FALSE(filelist::objectValueForTableColumn(*list, "Filename", 0, false).isValid());
    list->updateMovieInfoAtIndex(0); // a file that is gone keeps its stored values
    list->updatePreviewAtIndex(0);
    EXPECT_TRUE(list->movies()[0].duration);
    EXPECT_TRUE(previewsMade.empty());
}

TEST_F(FileListTest, SoundFilesBecomeMoviesWhenAsked) {
    const fs::path sound = fixtures::makeSound(dir(), "song.wav", 8000, 1, 0.2);
    const fs::path movie = picture("song.wav.png");
    convertSound = [&](const fs::path&) { return *media::Movie::open(movie); };
    append(sound);
    EXPECT_EQ(names(), (Names{"song.wav"})) << "the preference is off";

    defaults.setValue(support::Pref::ConvertSoundToMovie, true);
    append(sound);
    EXPECT_EQ(names(), (Names{"song.wav", "song.wav.png"}));
    EXPECT_TRUE(messages.textsSet().contains("Converted sound to movie"));

    convertSound = [](const fs::path&) { return std::shared_ptr<media::Movie>(); };
    append(sound);
    EXPECT_EQ(names().back(), "song.wav") << "a failed conversion adds the sound file as it is";
}

} // namespace
