// The file list: where batches, folders and single files land, titles, the
// total-duration line, removing, and the controls that follow the count.

#include "FileListHarness.h"
#include "MediaFixtures.h"

#include "filelist/TableCells.h"
#include "platform/FileReference.h"

#include <fstream>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

class FileListTest : public ::testing::Test, public FileListHarness {
protected:
    // A tiny picture: it opens as a movie of five seconds at scale 600.
    fs::path picture(const fs::path& folder, const std::string& name) {
        fs::create_directories(folder);
        return fixtures::makePicture(folder, name, 16, 16);
    }
    fs::path picture(const std::string& name) { return picture(dir(), name); }

    void append(const fs::path& path) { list->joinClip(platform::getAlias(path), list->count(), std::nullopt); }
};

TEST_F(FileListTest, ABatchGoesToTheTopInTextOrderAndFoldersToTheEnd) {
    append(picture("x.png"));
    const fs::path folder1 = dir() / "F1";
    const fs::path folder2 = dir() / "F2";
    picture(folder1, "one.png");
    picture(folder2, "two.png");
    fs::create_directories(folder2 / "sub"); // subfolders are not entered

    list->joinClips({picture("clip10.png"), folder1, picture("b.png"), folder2, picture("clip2.png"),
                     picture("A.png")});
    EXPECT_EQ(names(), (Names{"A.png", "b.png", "clip2.png", "clip10.png", "x.png", "two.png", "one.png"}));
    EXPECT_TRUE(listControlsEnabled());
    EXPECT_TRUE(orderingControlsEnabled());
    // The default output name is derived from every item, the first in text order last.
    ASSERT_EQ(defaultFilenameCalls.size(), 6u);
    EXPECT_EQ(defaultFilenameCalls.back().first.filename(), "A.png");
    EXPECT_EQ(defaultFilenameCalls[0], std::make_pair(folder2, true));
}

TEST_F(FileListTest, SingleEntriesAndDuplicates) {
    const fs::path clip = picture("Holiday.png");
    list->joinClip(platform::getAlias(clip), 0, std::nullopt);
    list->joinClip(platform::getAlias(clip), 0, QString("Typed"));
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->movies()[0].alias, list->movies()[1].alias);
    EXPECT_EQ(list->movies()[0].title, "Typed");
    EXPECT_EQ(list->movies()[1].title, "Holiday");
    EXPECT_EQ(messages.text(), "Created movie: Holiday.png");
    // A single insertion leaves the controls to its callers.
    EXPECT_FALSE(anyListControlEnabled());

    const filelist::MovieEntry& entry = list->movies()[0];
    EXPECT_EQ(entry.duration, QString("0:00:00:05.0/600"));
    EXPECT_TRUE(entry.modificationDate && entry.creationDate && entry.fileSize);
    EXPECT_FALSE(entry.exifDate || entry.exifDateString);

    // Files that do not open, and references that do not resolve, add nothing.
    const fs::path text = dir() / "notes.txt";
    std::ofstream(text) << "not a movie";
    append(text);
    list->joinClip(QByteArray(), 0, std::nullopt);
    list->joinClip(QByteArray("garbage"), 0, std::nullopt);
    EXPECT_EQ(list->count(), 2);
}

TEST_F(FileListTest, ExifDatesAreStoredAsTextAndSecondsSince1904) {
    append(fixtures::makePicture(dir(), "photo.jpg", 16, 16, std::string(fixtures::kStandardExifDate)));
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->movies()[0].exifDate, 3330439402);
    EXPECT_EQ(list->movies()[0].exifDateString, QString("2009:07:14 18:03:22"));
    EXPECT_EQ(filelist::objectValueForTableColumn(*list, "EXIF Date Time", 0, false).toString(),
              "2009:07:14 18:03:22");
}

TEST_F(FileListTest, DefaultTitles) {
    const fs::path clip = picture("Beach Day.png");
    append(clip);
    list->setTitle(0, "Renamed");
    list->resetChapterTitles();
    EXPECT_EQ(list->movies()[0].title, "Beach Day");

    // Without a display name the file's name serves; without a file, "Chapter N".
    auto unnamed = media::Movie::makeEmpty();
    EXPECT_EQ(list->defaultChapterTitleForMovie(*unnamed, 0), "Beach Day.png");
    EXPECT_EQ(list->defaultChapterTitleForMovie(*unnamed, 4), "Chapter 5");
}

TEST_F(FileListTest, TotalDurationLine) {
    EXPECT_TRUE(durationField.isHidden()) << "an empty list shows no total";
    list->updateDurationTextField();
    EXPECT_TRUE(durationField.isHidden());

    for (const char* name : {"a.png", "b.png", "c.png", "d.png"})
        append(picture(name));
    EXPECT_FALSE(durationField.isHidden());
    EXPECT_EQ(durationField.text(), "Total Duration: 0:00:00:20.0/600");

    for (const qint64 nothing : {qint64{0}, qint64{-5}}) {
        defaults.setValue(support::Pref::DesiredDuration, nothing);
        list->updateDurationTextField();
        EXPECT_EQ(durationField.text(), "Total Duration: 0:00:00:20.0/600");
    }
    defaults.setValue(support::Pref::DesiredDuration, qint64{30});
    list->updateDurationTextField();
    EXPECT_EQ(durationField.text(),
              "Total Duration: 0:00:00:20.0/600, Total Scaled Duration: 0:00:00:30.0/600");

    list->clearAll();
    EXPECT_TRUE(durationField.isHidden());
    EXPECT_FALSE(anyListControlEnabled());
}

TEST_F(FileListTest, RemovingSelectedRowsAndTheControlsThatFollow) {
    list->joinClips({picture("a.png"), picture("b.png"), picture("c.png")});
    table.setSelectedRows({0, 2});
    list->clearListButtonClicked();
    EXPECT_EQ(names(), (Names{"b.png"}));
    EXPECT_TRUE(listControlsEnabled());
    EXPECT_FALSE(anyOrderingControlEnabled());

    // One entry and no selection: nothing goes, the ordering controls stay off.
    list->joinClips({picture("d.png")});
    EXPECT_TRUE(orderingControlsEnabled());
    table.setSelectedRows({});
    list->removeItem();
    EXPECT_EQ(list->count(), 2);
    EXPECT_TRUE(orderingControlsEnabled()) << "two entries keep the ordering controls";

    table.setSelectedRows({0, 1});
    list->removeItem();
    EXPECT_EQ(list->count(), 0);
    EXPECT_FALSE(anyListControlEnabled());
    EXPECT_TRUE(durationField.isHidden());
}

TEST_F(FileListTest, ClearListWhenAddingFilesEmptiesTheListFirst) {
    append(picture("old.png"));
    defaults.setValue(support::Pref::ClearListWhenAddingFiles, true);
    list->joinClips({});
    EXPECT_EQ(list->count(), 1) << "an empty batch changes nothing";
    list->joinClips({picture("new.png")});
    EXPECT_EQ(names(), (Names{"new.png"}));
}

TEST_F(FileListTest, FoldersWithoutOpenableFilesAddNothing) {
    fs::create_directories(dir() / "only" / "sub");
    std::ofstream(dir() / "only" / "readme.txt") << "text";
    EXPECT_FALSE(list->addDirectoryItems(dir() / "only"));
    EXPECT_EQ(list->count(), 0);
    EXPECT_TRUE(spinner.isHidden());
}

TEST_F(FileListTest, EntriesFollowTheirFilesWhenRenamed) {
    const fs::path clip = picture("before.png");
    append(clip);
    fs::rename(clip, dir() / "after.png");
    EXPECT_EQ(filelist::objectValueForTableColumn(*list, "Filename", 0, false).toString(), "after.png");
    EXPECT_EQ(filelist::objectValueForTableColumn(*list, "Filename", 0, true).toString().toStdString(),
              (dir() / "after.png").string());
    EXPECT_EQ(filelist::objectValueForTableColumn(*list, "Index", 0, false).toString(), "1");
    EXPECT_FALSE(filelist::objectValueForTableColumn(*list, "Unknown", 0, false).isValid());

    fs::remove(dir() / "after.png");
    EXPECT_FALSE(filelist::objectValueForTableColumn(*list, "Filename", 0, false).isValid());
    list->updateMovieInfoAtIndex(0); // a file that is gone keeps its stored values
    EXPECT_TRUE(list->movies()[0].duration);
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
