// Drag and drop on the file table through the model's MIME hooks, as the
// view calls them: row drags, files and folders, web addresses.

#include "FileTableHarness.h"
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

TEST_F(FileTableDrops, RowDragsMoveByTheDistanceOfTheFirstRow) {
    const struct {
        int entries;
        std::vector<int> dragged;
        int dropAbove;
        QStringList order;
        std::vector<int> selection;
    } moves[] = {
        {6, {1}, 4, {"0", "2", "3", "1", "4", "5"}, {3}},
        {6, {4}, 1, {"0", "4", "1", "2", "3", "5"}, {1}},
        // The second row's target lies outside the list: it stays where the shift puts it.
        {7, {0, 3}, 6, {"1", "2", "3", "4", "5", "0", "6"}, {2, 5}},
        {4, {1}, 4, {"0", "2", "3", "1"}, {3}}, // below the last row
        {3, {1}, 1, {"0", "1", "2"}, {1}},
    };
    for (const auto& move : moves) {
        SCOPED_TRACE(::testing::Message() << move.entries << " entries, dropped above " << move.dropAbove);
        list().clearAll();
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
    m_messages = RecordingTextControl();
    EXPECT_TRUE(drop(*fileDrop({picture("b.png"), picture("a.png")}), 2));
    EXPECT_EQ(titles(), (QStringList{"0", "1", "a", "b", "2", "3"}));
    EXPECT_EQ(m_messages.textsSet().value(0), "Processing file 1 of 2");
    defaults().setValue(support::Pref::ClearListWhenAddingFiles, true); // emptied first: inserted at the top
    EXPECT_TRUE(drop(*fileDrop({picture("new.png")}), 5));
    EXPECT_EQ(titles(), QStringList{"new"});
    EXPECT_TRUE(m_spinner.isHidden());
}

TEST_F(FileTableDrops, OnlyTheFirstFileIsJudgedAndTextMustBeAWebAddress) {
    const auto notMovie = dir() / "notes.txt";
    QFile(QFile::decodeName(notMovie.c_str())).open(QIODevice::WriteOnly);
    EXPECT_FALSE(model().canDropMimeData(fileDrop({notMovie}).get(), Qt::CopyAction, 0, 0, {}));
    EXPECT_TRUE(
        model().canDropMimeData(fileDrop({picture("x.png"), notMovie}).get(), Qt::CopyAction, 0, 0, {}));
    for (const auto& [text, accepted] : {std::pair{"just some words", false}, std::pair{"hello", false},
                                         std::pair{"https://example.org/clip.mp4", true}}) {
        QMimeData data;
        data.setText(text);
        EXPECT_EQ(model().canDropMimeData(&data, Qt::CopyAction, 0, 0, {}), accepted) << text;
    }
}

TEST_F(FileTableDrops, WebAddressesGoToTheDownloadQueueWithTheirLinkTitles) {
    // Without a queue the address is told in the status line.
    QMimeData plain;
    plain.setText("https://example.org/a.mp4");
    EXPECT_TRUE(drop(plain, 0));
    EXPECT_TRUE(m_messages.text().contains("https://example.org/a.mp4"));
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
