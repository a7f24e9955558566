// Drag and drop on the file table through the model's MIME hooks, as the
// view calls them: row drags, files and folders, web addresses.

#include "FileTableHarness.h"
#include "filelist/ListEdits.h"
#include "MediaFixtures.h"
#include "support/MovieDownloadQueue.h"

#include <QFile>
#include <QMimeData>
#include <QUrl>

namespace testing_support {
namespace {

class RecordingDownloadQueue final : public support::MovieDownloadQueue {
public:
    void enqueueMovieURL(const QString& address, const std::optional<QString>& linkTitle) override {
        queued.emplace_back(address, linkTitle);
    }
    std::vector<std::pair<QString, std::optional<QString>>> queued;
};

class FileTableDrops : public FileTableHarness {
protected:
    // Drops data between rows, above `row`, as the view does.
    bool drop(QMimeData& data, int row, const QModelIndex& onto = {}) {
        if (!model().canDropMimeData(&data, Qt::CopyAction, row, 0, onto))
            return false;
        return model().dropMimeData(&data, Qt::CopyAction, row, 0, onto);
    }
    std::unique_ptr<QMimeData> rowDrag(const std::vector<int>& rows) {
        QModelIndexList indexes;
        for (int row : rows)
            indexes << cell(row, "Title") << cell(row, "Index");
        return std::unique_ptr<QMimeData>(model().mimeData(indexes));
    }
    std::unique_ptr<QMimeData> fileDrop(const std::vector<std::filesystem::path>& files) {
        auto data = std::make_unique<QMimeData>();
        QList<QUrl> urls;
        for (const auto& file : files)
            urls << QUrl::fromLocalFile(QFile::decodeName(file.c_str()));
        data->setUrls(urls);
        return data;
    }
};

TEST_F(FileTableDrops, RowsDraggedTogetherLandTogetherWhereTheyAreDropped) {
    const struct {
        int entries;
        std::vector<int> dragged;
        int dropAbove;
        QStringList order;
        std::vector<int> selection;
    } moves[] = {
        {6, {1}, 4, {"0", "2", "3", "1", "4", "5"}, {3}},
        {6, {4}, 1, {"0", "4", "1", "2", "3", "5"}, {1}},
        {7, {0, 3}, 6, {"1", "2", "4", "5", "0", "3", "6"}, {4, 5}},
        {5, {1, 3}, 5, {"0", "2", "4", "1", "3"}, {3, 4}},      // below the last row
        {6, {4, 1}, 3, {"0", "2", "1", "4", "3", "5"}, {2, 3}}, // list order, whatever the selection's
        {6, {0, 5}, 0, {"0", "5", "1", "2", "3", "4"}, {0, 1}},
        {3, {1}, 1, {"0", "1", "2"}, {1}},
    };
    for (const auto& move : moves) {
        SCOPED_TRACE(::testing::Message() << move.entries << " entries, dropped above " << move.dropAbove);
        filelist::clearAll(list());
        addPictures(move.entries);
        const auto data = rowDrag(move.dragged);
        EXPECT_EQ(data->formats(), QStringList{"MyPrivateTableViewDataType"});
        EXPECT_TRUE(drop(*data, move.dropAbove));
        EXPECT_EQ(titles(), move.order);
        EXPECT_EQ(m_table->selectedRows(), move.selection);
    }
}

TEST_F(FileTableDrops, DropsOntoARowAndForeignRowDragsAreRefused) {
    addPictures(3);
    const auto data = rowDrag({0});
    EXPECT_FALSE(drop(*data, -1, cell(2, "Title")));
    EXPECT_FALSE(model().dropMimeData(data.get(), Qt::MoveAction, -1, 0, cell(2, "Title")));
    // Rows dragged from another table name rows of another list.
    ui::FileTableModel other;
    std::unique_ptr<QMimeData> foreign(other.mimeData({other.index(0, 0)}));
    EXPECT_FALSE(drop(*foreign, 0));
    EXPECT_EQ(titles(), (QStringList{"0", "1", "2"}));
}

// The batch's own order (text order, folders last) is FileListTest's; here, where it lands.
TEST_F(FileTableDrops, DroppedFilesStandAtTheDropRowOrAloneWhenTheListIsClearedFirst) {
    addPictures(4);
    m_statuses.clear();
    bool busy = false;
    QObject::connect(&list(), &filelist::FileList::busyChanged, [&busy](bool on) { busy = on; });
    EXPECT_TRUE(drop(*fileDrop({picture("b.png"), picture("a.png")}), 2));
    EXPECT_EQ(titles(), (QStringList{"0", "1", "a", "b", "2", "3"}));
    EXPECT_EQ(m_statuses.value(0), "Processing file 1 of 2");
    defaults().setValue(support::Pref::ClearListWhenAddingFiles, true); // emptied first: inserted at the top
    EXPECT_TRUE(drop(*fileDrop({picture("new.png")}), 5));
    EXPECT_EQ(titles(), QStringList{"new"});
    EXPECT_FALSE(busy) << "the spinner goes once the drop is taken";
}

TEST_F(FileTableDrops, AMixedDropTakesWhatOpensAndNamesTheRestInOneAlert) {
    const auto corrupt = dir() / "corrupt.mov";
    QFile file(QFile::decodeName(corrupt.c_str()));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\0\0\0\x14moov garbage that is no movie");
    file.close();
    const auto notes = dir() / "notes.txt";
    QFile(QFile::decodeName(notes.c_str())).open(QIODevice::WriteOnly);
    // The unreadable file first, as in a real selection: it no longer refuses the rest.
    EXPECT_TRUE(drop(*fileDrop({corrupt, picture("a.png"), notes, picture("b.png"), dir() / "gone.mov"}), 0));
    EXPECT_EQ(titles(), (QStringList{"a", "b"}));
    ASSERT_EQ(m_notices.size(), 1u);
    EXPECT_EQ(messageOf(m_notices[0]), "3 files were not added.");
    const QStringList lines = informativeOf(m_notices[0]).split('\n');
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].startsWith("corrupt.mov: It does not open")) << lines[0].toStdString();
    EXPECT_EQ(lines[1], "gone.mov: The file cannot be found.");
    EXPECT_TRUE(lines[2].startsWith("notes.txt: ")) << lines[2].toStdString();
    // A drop where everything opens says nothing.
    EXPECT_TRUE(drop(*fileDrop({picture("c.png")}), 0));
    EXPECT_EQ(m_notices.size(), 1u);
    // A folder's files that do not open are named too; its hidden ones are not.
    std::filesystem::create_directories(dir() / "F");
    fixtures::makePicture(dir() / "F", "d.png", 16, 16);
    QFile(QFile::decodeName((dir() / "F" / "readme.txt").c_str())).open(QIODevice::WriteOnly);
    QFile(QFile::decodeName((dir() / "F" / ".thumbs").c_str())).open(QIODevice::WriteOnly);
    EXPECT_TRUE(drop(*fileDrop({dir() / "F"}), 0));
    ASSERT_EQ(m_notices.size(), 2u);
    EXPECT_EQ(messageOf(m_notices[1]), "1 file was not added.");
    EXPECT_TRUE(informativeOf(m_notices[1]).startsWith("readme.txt: "));
}

// Text is taken only when it is a web address.
TEST_F(FileTableDrops, WebAddressesGoToTheDownloadQueueWithTheirLinkTitles) {
    for (const char* words : {"just some words", "hello"}) {
        QMimeData data;
        data.setText(words);
        EXPECT_FALSE(drop(data, 0)) << words;
    }
    // Without a queue the address is told in the status line.
    QMimeData plain;
    plain.setText("https://example.org/a.mp4");
    EXPECT_TRUE(drop(plain, 0));
    EXPECT_TRUE(m_statuses.constLast().contains("https://example.org/a.mp4"));
    RecordingDownloadQueue queue;
    m_table->setMovieDownloadQueue(queue);
    QMimeData browser; // as a browser drags a link: the address and its title
    browser.setUrls({QUrl("https://example.org/b.mp4")});
    const QString mozUrl = "https://example.org/b.mp4\nHoliday film";
    browser.setData("text/x-moz-url",
                    QByteArray(reinterpret_cast<const char*>(mozUrl.utf16()), mozUrl.size() * 2));
    EXPECT_TRUE(drop(browser, 0));
    QMimeData netscape;
    netscape.setUrls({QUrl("https://example.org/c.mp4")});
    netscape.setData("_NETSCAPE_URL", "https://example.org/c.mp4\nSecond film");
    EXPECT_TRUE(drop(netscape, 0));
    ASSERT_EQ(queue.queued.size(), 2u);
    EXPECT_EQ(queue.queued[0],
              std::pair(QString("https://example.org/b.mp4"), std::optional<QString>("Holiday film")));
    EXPECT_EQ(queue.queued[1].second, std::optional<QString>("Second film"));
    EXPECT_EQ(list().count(), 0);
}

} // namespace
} // namespace testing_support
