// Previews made in the background, and what the browse panel shows. That the
// status line is drawn while files are added is FileListTest's.

#include "FileTableHarness.h"
#include "filelist/EntryFiles.h"

#include <QMimeData>
#include <QSemaphore>

namespace testing_support {
namespace {

using FileTablePreviews = FileTableHarness;

TEST_F(FileTablePreviews, PreviewsArriveFromAWorkerWithoutHoldingUpTheWindowAndFindTheirEntries) {
    // The worker cannot finish until the test lets it: the window must answer meanwhile.
    QSemaphore release;
    std::atomic<int> made = 0;
    m_table->setPreviewMaker([&](const std::filesystem::path&) {
        release.acquire();
        ++made;
        return std::optional<QImage>(QImage(64, 48, QImage::Format_RGB32));
    });
    addPictures(3);
    m_view.viewport()->repaint(); // the rows come into view and ask for their previews
    QCoreApplication::processEvents();
    EXPECT_TRUE(m_table->previewsPending());
    EXPECT_FALSE(model().data(cell(0, "Icon"), Qt::DecorationRole).isNull()) << "the placeholder";

    // Meanwhile the first entry moves to the end and the second is removed.
    const auto data = std::unique_ptr<QMimeData>(model().mimeData({cell(0, "Index")}));
    model().dropMimeData(data.get(), Qt::MoveAction, 3, 0, {});
    m_view.selectionModel()->select(cell(0, "Index"),
                                    QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    controller().removeItem();
    release.release(3);
    waitUntil([&] { return !m_table->previewsPending(); });
    ASSERT_EQ(titles(), (QStringList{"2", "0"}));
    EXPECT_EQ(made.load(), 3) << "each file once, however often its row is drawn";
    EXPECT_FALSE(list().needsPreview(0));
    EXPECT_FALSE(list().needsPreview(1));
}

TEST(BrowsePanelFilter, ShowsFoldersMoviesAndSavedSettingsOnly) {
    QTemporaryDir dir;
    const std::filesystem::path root = dir.path().toStdString();
    const auto picture = fixtures::makePicture(root, "p.png", 16, 16);
    for (const char* name : {"settings.qxst", "notes.txt"})
        QFile(QFile::decodeName((root / name).c_str())).open(QIODevice::WriteOnly);
    EXPECT_TRUE(filelist::shouldShowFilename(root));
    EXPECT_TRUE(filelist::shouldShowFilename(picture));
    EXPECT_TRUE(filelist::shouldShowFilename(root / "settings.qxst"));
    EXPECT_FALSE(filelist::shouldShowFilename(root / "notes.txt"));
}

} // namespace
} // namespace testing_support
