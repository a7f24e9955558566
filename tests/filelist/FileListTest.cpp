// The file list: adding, titles, the total duration, removing, previews, sorting, renaming, and the list text file.

#include "filelist/DefaultBaseName.h"
#include "filelist/FileList.h"
#include "filelist/ListEdits.h"
#include "filelist/ListRenaming.h"

#include "FileContents.h"
#include "MediaFixtures.h"
#include "TestFolder.h"
#include "filelist/DurationLine.h"
#include "filelist/ListTextFile.h"
#include "filelist/SequenceNames.h"
#include "filelist/TableCells.h"
#include "filelist/ValueTexts.h"
#include "platform/FileReference.h"
#include "platform/LocaleFormat.h"
#include "platform/Preferences.h"
#include "support/UserDefaults.h"

#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

class FileListTest : public ::testing::Test {
protected:
    FileListTest() : store(m_folder.path() / "prefs.plist"), defaults(store) {
        filelist::FileList::Services services;
        services.createMovieFromSoundFile = [this](const fs::path& file) {
            return convertSound ? convertSound(file) : nullptr;
        };
        list = std::make_unique<filelist::FileList>(defaults, services);
        QObject::connect(list.get(), &filelist::FileList::changed, [this] { ++changes; });
        QObject::connect(list.get(), &filelist::FileList::statusChanged,
                         [this](const QString& text) { statuses << text; });
        QObject::connect(list.get(), &filelist::FileList::busyChanged, [this](bool on) { busy = on; });
    }
    fs::path dir() const { return m_folder.path(); }
    // A tiny picture: it opens as a movie of five seconds at scale 600.
    fs::path picture(const std::string& name, const fs::path& folder = {}) {
        fs::create_directories(dir() / folder);
        return fixtures::makePicture(dir() / folder, name, 16, 16);
    }
    void append(const fs::path& path) {
        list->insertEntry(platform::getAlias(path), list->count(), std::nullopt);
    }
    Names names() const {
        Names result;
        for (int i = 0; i < list->count(); ++i)
            result.push_back(list->pathOfEntry(i) ? list->pathOfEntry(i)->filename().string() : "<gone>");
        return result;
    }
    QVariant value(const char* column, int row, bool fullPath = false) const {
        return filelist::objectValueForTableColumn(*list, column, row, fullPath);
    }
    QString cell(const char* column, int row, bool fullPath = false) const {
        return value(column, row, fullPath).toString();
    }
    QString readable(const char* column, int row) const {
        return filelist::objectValueForTableColumn(*list, column, row, false, filelist::CellForm::Readable)
            .toString();
    }
    testing_support::TestFolder m_folder;
    platform::Preferences store;
    support::UserDefaults defaults;
    // What the list told through its signals.
    int changes = 0;
    QStringList statuses;
    bool busy = false;
    std::function<std::shared_ptr<media::Movie>(const fs::path&)> convertSound;
    std::unique_ptr<filelist::FileList> list;
};

// A joined movie is named after the item added last: a folder by its name, a file with the count of the others.
TEST(DefaultBaseNameTest, NamesTheLastItemAndCountsTheOthers) {
    EXPECT_EQ(filelist::defaultBaseName("/clips/Holiday.mov", false, 1), "Holiday and 0 others");
    EXPECT_EQ(filelist::defaultBaseName("/clips/Holiday.mov", false, 2), "Holiday and 1 other");
    EXPECT_EQ(filelist::defaultBaseName("/clips/Trip", true, 7), "Trip");
    EXPECT_EQ(filelist::defaultBaseName("/clips/Trip/", true, 7), "Trip");
    EXPECT_EQ(filelist::defaultBaseName("/clips/archive.tar.gz", false, 1), "archive.tar and 0 others");
}

TEST_F(FileListTest, ABatchGoesToTheTopInTextOrderAndFoldersToTheEnd) {
    append(picture("x.png"));
    picture("one.png", "F1");
    picture("two.png", "F2");
    fs::create_directories(dir() / "F2" / "sub"); // subfolders are not entered
    list->addFiles({picture("clip10.png"), dir() / "F1", picture("b.png"), dir() / "F2",
                     picture("clip2.png"), picture("A.png")});
    EXPECT_EQ(names(), (Names{"A.png", "b.png", "clip2.png", "clip10.png", "x.png", "two.png", "one.png"}));
    // The default output name comes from the item added last, the first in text order.
    EXPECT_EQ(list->defaultBaseName(), "A and 6 others");
    EXPECT_GE(statuses.size(), 7) << "the status line tells each entry added";
}

TEST_F(FileListTest, SingleEntriesDuplicatesTitlesAndFilesThatDoNotOpen) {
    const fs::path clip = picture("Holiday.png");
    list->insertEntry(platform::getAlias(clip), 0, std::nullopt);
    list->insertEntry(platform::getAlias(clip), 0, QString("Typed"));
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->movies()[0].alias, list->movies()[1].alias);
    EXPECT_EQ(list->movies()[0].title, "Typed");
    EXPECT_EQ(list->movies()[1].title, "Holiday");
    EXPECT_EQ(statuses.back(), "Created movie: Holiday.png");
    const filelist::MovieEntry& entry = list->movies()[0];
    ASSERT_TRUE(entry.duration && entry.modificationDate && entry.creationDate && entry.fileSize);
    EXPECT_EQ(media::compareTimes(*entry.duration, media::makeTime(3000, 600)), 0);
    EXPECT_EQ(*entry.fileSize, static_cast<std::int64_t>(fs::file_size(clip)));
    // The command line's exact form and the window's readable one.
    EXPECT_EQ(cell("Duration", 0), "0:00:00:05.0/600");
    EXPECT_EQ(readable("Duration", 0), "0:05.00");
    EXPECT_EQ(cell("Size", 0), platform::formatNumberWithGrouping(*entry.fileSize));
    EXPECT_EQ(readable("Size", 0), QString::number(*entry.fileSize) + " bytes");
    EXPECT_FALSE(entry.exifDate || entry.exifDateString || entry.icon);
    std::ofstream(dir() / "notes.txt") << "not a movie";
    append(dir() / "notes.txt");
    list->insertEntry(QByteArray(), 0, std::nullopt);
    list->insertEntry(QByteArray("garbage"), 0, std::nullopt);
    EXPECT_EQ(list->count(), 2);
    append(fixtures::makePicture(dir(), "photo.jpg", 16, 16, std::string(fixtures::kStandardExifDate)));
    EXPECT_EQ(list->movies()[2].exifDate, filelist::WallClockTime(std::chrono::seconds(1247594602)));
    EXPECT_EQ(cell("EXIF Date Time", 2), "2009:07:14 18:03:22");
    // The EXIF date reads as the other dates do, at the camera's clock whatever the time zone.
    platform::setLocaleForTesting("de_DE", "Asia/Tokyo");
    EXPECT_EQ(readable("EXIF Date Time", 2), "14.07.09, 18:03:22");
    EXPECT_EQ(readable("Date Modified", 2), filelist::dateText(*list->movies()[2].modificationDate));
    platform::setLocaleForTesting(nullptr, nullptr);
    // A title is the display name; without one the file's name serves, without a file "Chapter N".
    auto unnamed = media::Movie::makeEmpty();
    EXPECT_EQ(filelist::defaultChapterTitle(*unnamed, 1, dir() / "Holiday.png"), "Holiday.png");
    EXPECT_EQ(filelist::defaultChapterTitle(*unnamed, 4, std::nullopt), "Chapter 5");
}

TEST_F(FileListTest, PreviewsAreMadeOnlyWhenAskedForAndOnlyForTheEntryStillThere) {
    list->addFiles({picture("a.png"), picture("b.png")});
    EXPECT_FALSE(list->movies()[0].icon || list->movies()[1].icon) << "building entries decodes no picture";
    EXPECT_FALSE(value("Icon", 0).isValid());
    // A preview made elsewhere lands only on the entry it was made for, and only once.
    const QByteArray aliasOfA = list->movies()[0].alias;
    const QImage made(2, 2, QImage::Format_RGB32);
    EXPECT_FALSE(list->setPreviewAtIndex(1, aliasOfA, made)) << "row 1 holds another file";
    EXPECT_FALSE(list->setPreviewAtIndex(5, aliasOfA, made));
    EXPECT_TRUE(list->setPreviewAtIndex(0, aliasOfA, made));
    EXPECT_EQ(value("Icon", 0).value<QImage>().size(), QSize(2, 2));
    EXPECT_FALSE(list->setPreviewAtIndex(0, aliasOfA, QImage(4, 3, QImage::Format_RGB32)));
    list->updateMovieInfoAtIndex(0);
    EXPECT_EQ(value("Icon", 0).value<QImage>().size(), QSize(2, 2)) << "refreshing keeps the preview";
}

TEST_F(FileListTest, TotalDurationLine) {
    list->updateTotalDuration();
    EXPECT_FALSE(list->totalDuration()) << "an empty list shows no total";
    for (const char* name : {"a.png", "b.png", "c.png", "d.png"})
        append(picture(name));
    EXPECT_TRUE(list->totalDuration());
    const QString total = "Total Duration: 0:20.00";
    for (const auto& [desired, line] : {std::pair{qint64{0}, total}, std::pair{qint64{-5}, total},
                                        std::pair{qint64{30}, total + ", Total Scaled Duration: 0:30.00"}}) {
        defaults.setValue(support::Pref::DesiredDuration, desired);
        list->updateTotalDuration();
        EXPECT_EQ(list->totalDuration(), line) << desired;
    }
    filelist::clearAll(*list);
    EXPECT_FALSE(list->totalDuration());
    // Sums across scales exactly; a zero total is not scaled.
    using filelist::durationLine;
    using media::makeTime;
    EXPECT_EQ(durationLine({makeTime(25, 25), makeTime(13, 1000), makeTime(1, 44100)}, std::nullopt),
              "Total Duration: 0:01.01");
    EXPECT_EQ(durationLine({makeTime(3723, 1), makeTime(1, 2)}, 7200),
              "Total Duration: 1:02:04, Total Scaled Duration: 2:00:00");
    EXPECT_EQ(durationLine({makeTime(0, 600)}, 30)->indexOf("Scaled"), -1);
    EXPECT_EQ(durationLine({}, 30)->indexOf("Scaled"), -1);
}

TEST(ValueTextsTest, DurationsAndSizesAsPeopleReadThem) {
    using media::makeTime;
    const std::pair<media::Time, const char*> durations[] = {
        {makeTime(27064, 1000), "0:27.06"},  {makeTime(1193600, 44100), "0:27.07"},
        {makeTime(59996, 1000), "1:00.00"},  {makeTime(3599996, 1000), "1:00:00"},
        {makeTime(3723, 1), "1:02:03"},      {makeTime(0, 600), "0:00.00"},
        {makeTime(-1500, 1000), "-0:01.50"}, {media::indefiniteTime(), "indefinite"}};
    for (const auto& [time, text] : durations) {
        EXPECT_EQ(filelist::readableDuration(time), text) << media::timeToString(time);
        // What is shown can be typed back.
        if (!media::isIndefinite(time)) {
            EXPECT_TRUE(media::parseTime(text)) << text;
        }
    }
    platform::setLocaleForTesting("en_US", "UTC");
    EXPECT_EQ(filelist::readableFileSize(1), "1 byte");
    EXPECT_EQ(filelist::readableFileSize(999), "999 bytes");
    EXPECT_EQ(filelist::readableFileSize(18'923'456), "18.9 MB");
    EXPECT_EQ(filelist::readableFileSize(999'960), "1.0 MB");
    EXPECT_EQ(filelist::readableFileSize(2'100'000'000), "2.1 GB");
    platform::setLocaleForTesting("de_DE", "UTC");
    EXPECT_EQ(filelist::readableFileSize(1'500), "1,5 kB");
    platform::setLocaleForTesting(nullptr, nullptr);
}

TEST_F(FileListTest, RemovingRows) {
    list->addFiles({picture("a.png"), picture("b.png"), picture("c.png")});
    const int before = changes;
    list->removeRows({2, 0, 2, 7});
    EXPECT_EQ(names(), (Names{"b.png"})) << "each row once, rows that are not there passed over";
    EXPECT_EQ(changes, before + 1);
    // No row removes nothing; the last entry gone takes the total with it.
    list->addFiles({picture("d.png")});
    list->removeRows({});
    EXPECT_EQ(list->count(), 2);
    list->removeRows({0, 1});
    EXPECT_EQ(list->count(), 0);
    EXPECT_FALSE(list->totalDuration());
}

TEST_F(FileListTest, ClearingFirstAndFoldersWithNothingToOpen) {
    append(picture("old.png"));
    defaults.setValue(support::Pref::ClearListWhenAddingFiles, true);
    list->addFiles({});
    EXPECT_EQ(list->count(), 1) << "an empty batch changes nothing";
    list->addFiles({picture("new.png")});
    EXPECT_EQ(names(), (Names{"new.png"}));
    fs::create_directories(dir() / "only" / "sub");
    std::ofstream(dir() / "only" / "readme.txt") << "text";
    EXPECT_FALSE(list->addDirectoryItems(dir() / "only"));
    EXPECT_EQ(list->count(), 1);
    EXPECT_FALSE(busy);
}

TEST_F(FileListTest, EntriesFollowTheirFilesWhenRenamed) {
    append(picture("before.png"));
    fs::rename(dir() / "before.png", dir() / "after.png");
    EXPECT_EQ(cell("Filename", 0), "after.png");
    EXPECT_EQ(cell("Filename", 0, true).toStdString(), (dir() / "after.png").string());
    EXPECT_EQ(cell("Index", 0), "1");
    EXPECT_FALSE(value("Unknown", 0).isValid());
    fs::remove(dir() / "after.png");
    EXPECT_FALSE(value("Filename", 0).isValid());
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
    EXPECT_TRUE(statuses.contains("Converted sound to movie"));
    convertSound = [](const fs::path&) { return std::shared_ptr<media::Movie>(); };
    append(sound);
    EXPECT_EQ(names().back(), "song.wav") << "a failed conversion adds the sound file as it is";
}

// Each sort starts from the order the one before it left.
TEST_F(FileListTest, SortsPutMissingValuesLastAndKeepEqualValuesInOrder) {
    const auto photo = [&](const std::string& name, std::string exifDate) {
        return fixtures::makePicture(dir(), name, 16, 16, exifDate);
    };
    // Photos as two cameras date them, a picture without EXIF data, files in two folders.
    const std::vector<std::tuple<fs::path, std::time_t, QString>> files = {
        {photo("canon.jpg", "2011:03:01 10:00:00"), 3000, "Clip 10"},
        {photo("nikon.jpg", "2009:07:14 18:03:22"), 1000, "clip 9"},
        {picture("plain.png"), 2000, "Clip 1"},
        {photo("sony.jpg", "2009:07:14 18:03:22"), 1000, "\u00C4pfel"},
        {picture("a.png", "B"), 5000, "\u65E5\u672C"},
        {picture("z.png", "A"), 4000, "\u03A9mega"}};
    for (const auto& [file, modified, title] : files) {
        const timespec times[2] = {{modified, 0}, {modified, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
        append(file);
        filelist::setTitle(*list, list->count() - 1, title);
    }
    const int reloads = changes;
    const std::vector<std::pair<filelist::SortKey, Names>> sorts = {
        {filelist::SortKey::ExifDate, {"nikon.jpg", "sony.jpg", "canon.jpg", "plain.png", "a.png", "z.png"}},
        {filelist::SortKey::ModificationDate,
         {"nikon.jpg", "sony.jpg", "plain.png", "canon.jpg", "z.png", "a.png"}},
        {filelist::SortKey::Title, {"sony.jpg", "plain.png", "nikon.jpg", "canon.jpg", "z.png", "a.png"}},
        {filelist::SortKey::Name, {"z.png", "a.png", "canon.jpg", "nikon.jpg", "plain.png", "sony.jpg"}}};
    for (const auto& [key, expected] : sorts) {
        filelist::sortBy(*list, key);
        EXPECT_EQ(names(), expected) << static_cast<int>(key);
    }
    EXPECT_EQ(changes, reloads + 4);
    // Dates are values: another locale orders them the same.
    filelist::reverseList(*list);
    platform::setLocaleForTesting("de_DE", "UTC");
    filelist::sortBy(*list, filelist::SortKey::ModificationDate);
    platform::setLocaleForTesting(nullptr, nullptr);
    EXPECT_EQ(names(), (Names{"sony.jpg", "nikon.jpg", "plain.png", "canon.jpg", "z.png", "a.png"}));
    // A file that is gone goes last in the path sort.
    fs::remove(dir() / "canon.jpg");
    filelist::sortBy(*list, filelist::SortKey::Name);
    EXPECT_EQ(names(), (Names{"z.png", "a.png", "nikon.jpg", "plain.png", "sony.jpg", "<gone>"}));
}

TEST_F(FileListTest, NumberingAndUnnumberingRenameTheFilesAndTheEntriesFollow) {
    EXPECT_EQ(filelist::sequenceNumberText(42), "000042");
    EXPECT_EQ(filelist::sequenceNumberText(1000000), "1000000");
    const std::string twoWords = "\u65E5\u672C \u65C5\u884C.png"; // a blank inside a name in another script
    for (const std::string& name : {std::string("b.png"), twoWords, std::string("\u03A9mega.png"),
                                    std::string("gone.png"), std::string("last.png")})
        append(picture(name));
    fs::remove(dir() / "gone.png"); // passed over: its number is not given to the next
    auto outcome = filelist::renameFilesInSequence(*list);
    EXPECT_EQ(names(), (Names{"000001 b.png", "000002 " + twoWords, "000003 \u03A9mega.png", "<gone>",
                              "000005 last.png"}));
    EXPECT_EQ(outcome.renamed.size(), 4u);
    EXPECT_TRUE(outcome.refused.empty());
    // The open movies follow their files: what a join reads is where the file is now.
    EXPECT_EQ(list->movieOfEntry(0)->fileName(), dir() / "000001 b.png");
    EXPECT_TRUE(list->movieOfEntry(0)->write(dir() / "joined.mov", {}));
    fs::rename(dir() / "000005 last.png", dir() / "moved by hand.png"); // the file manager's rename
    EXPECT_EQ(list->movieOfEntry(4)->fileName(), dir() / "moved by hand.png");
    fs::rename(dir() / "moved by hand.png", dir() / "000005 last.png");
    EXPECT_EQ(filelist::removeFilenamePrefixes(*list).renamed.size(), 4u);
    EXPECT_EQ(names(), (Names{"b.png", twoWords, "\u03A9mega.png", "<gone>", "last.png"}));
    // Only the numbers the numbering writes go: words and shorter numbers stay.
    EXPECT_TRUE(filelist::removeFilenamePrefixes(*list).renamed.empty());
    EXPECT_EQ(names()[1], twoWords);
    for (const char* kept : {"my holiday.png", "2019 trip.png", "0000012trip.png", "000001 "})
        EXPECT_EQ(filelist::nameWithoutPrefix(kept), std::nullopt) << kept;
    EXPECT_EQ(filelist::nameWithoutPrefix("1000000 z.png"), "z.png");
}

TEST_F(FileListTest, ARenameNeverReplacesAFileAndARefusalKeepsOnlyThatName) {
    const std::string longName = std::string(251, 'n') + ".png"; // 255 bytes: no room for a number
    for (const std::string& name :
         {std::string("a.png"), std::string("b.png"), std::string("c.png"), longName})
        append(picture(name));
    std::ofstream(dir() / "000002 b.png") << "someone else's";
    auto outcome = filelist::renameFilesInSequence(*list);
    EXPECT_EQ(names(), (Names{"000001 a.png", "b.png", "000003 c.png", longName}));
    ASSERT_EQ(outcome.refused.size(), 2u);
    EXPECT_EQ(outcome.refused[0].from, dir() / "b.png");
    EXPECT_EQ(outcome.refused[0].error, EEXIST);
    EXPECT_EQ(outcome.refused[1].error, ENAMETOOLONG);
    EXPECT_EQ(testing_support::contentsOf(dir() / "000002 b.png"), "someone else's");
    std::ofstream(dir() / "c.png") << "a new c";
    outcome = filelist::removeFilenamePrefixes(*list);
    EXPECT_EQ(names(), (Names{"a.png", "b.png", "000003 c.png", longName}));
    ASSERT_EQ(outcome.refused.size(), 1u);
    EXPECT_EQ(testing_support::contentsOf(dir() / "c.png"), "a new c");
}

// How lines are split (CR LF, LF, lone CR, a leading BOM, empty lines) is
// checked by replaying fuzz_list_file's corpus; here the blanks a line keeps.
TEST(ListTextFileTest, LinesKeepTheirBlanksAndPathsThatWouldNotReadBackAreLeftOut) {
    using Paths = std::vector<fs::path>;
    EXPECT_EQ(filelist::parseFileListText("/a \r\r\n/b"), (Paths{"/a ", "", "/b"}));
    // A path that would read back as two lines, or make the file unreadable, is left out.
    const auto text = filelist::fileListText({"/a", "/b\nc", "/\u65E5", "/\xFF", "/d"});
    EXPECT_EQ(text.bytes, "/a\n/\u65E5\n/d");
    EXPECT_EQ(text.leftOut, (Paths{"/b\nc", "/\xFF"}));
    EXPECT_TRUE(filelist::fileListText({}).bytes.isEmpty());
}

TEST(ListTextFileTest, OnlyReadableUtf8FilesAreRead) {
    testing_support::TestFolder folder;
    const fs::path file = folder.path() / "list.txt";
    // An invalid byte, an overlong slash, a surrogate, a value past U+10FFFF.
    for (const char* bytes : {"/a\n\xFF", "/a\xC0\xAF", "/\xED\xA0\x80", "/\xF4\x90\x80\x80"}) {
        std::ofstream(file, std::ios::binary) << bytes;
        const auto read = filelist::loadFileList(file);
        ASSERT_FALSE(read) << bytes;
        EXPECT_EQ(read.error().code, 0);
    }
    EXPECT_EQ(filelist::loadFileList(folder.path() / "none.txt").error().code, ENOENT);
    EXPECT_EQ(filelist::loadFileList(folder.path()).error().code, EISDIR);
    std::string many;
    for (int i = 0; i < 100000; ++i)
        many += "/nowhere/" + std::to_string(i) + (i % 3 == 0 ? "\r\n" : i % 3 == 1 ? "\r" : "\n");
    ASSERT_TRUE(filelist::writeFileList(file, QByteArray::fromStdString(many)));
    EXPECT_EQ(filelist::writeFileList(folder.path() / "none" / "list.txt", "x").error().code, ENOENT)
        << "a failed write says why";
    const auto lines = filelist::loadFileList(file);
    ASSERT_TRUE(lines);
    ASSERT_EQ(lines->size(), 100001u); // the line end at the very end makes an empty last line
    EXPECT_EQ((*lines)[99999], "/nowhere/99999");
}

} // namespace
