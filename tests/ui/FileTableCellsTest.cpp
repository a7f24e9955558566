// The file table's cells, columns, edits and previews through the real model and view.

#include "FileContents.h"
#include "filelist/ListEdits.h"
#include "FileTableHarness.h"
#include "filelist/EntryFiles.h"
#include "media/Movie.h"
#include "ui/AddFilesPanel.h"
#include "ui/QtTranslations.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QScrollBar>
#include <QSemaphore>
#include <QTranslator>

namespace testing_support {
namespace {

using FileTableCells = FileTableHarness;

// What each cell holds is the list's (FileListTest); here, the roles the model
// adds: readable text, exact edits, tooltips, and a missing file's look.
TEST_F(FileTableCells, RolesShowReadableTextExactEditsTooltipsAndAMissingFile) {
    const auto clip = fixtures::makeClip(dir(), "clip.mov", {.container = "mov", .frames = 50}); // 2 seconds
    list().insertEntry(platform::getAlias(clip), 0, std::nullopt);
    const QString name = "clip.mov", path = QFile::decodeName(clip.c_str());
    ASSERT_EQ(model().rowCount(), 1);
    // The name and its tooltip show the two forms of the path, the date's tooltip the full path.
    for (const bool fullPath : {false, true}) {
        defaults().setValue(support::Pref::DisplayFullPath, fullPath);
        EXPECT_EQ(text(0, "Filename"), fullPath ? path : name);
        EXPECT_EQ(text(0, "Filename", Qt::ToolTipRole), fullPath ? name : path);
        EXPECT_EQ(text(0, "Date Modified", Qt::ToolTipRole), path);
        EXPECT_EQ(text(0, "Title", Qt::ToolTipRole), "");
    }
    defaults().setValue(support::Pref::DisplayFullPath, false);
    EXPECT_EQ(text(0, "Duration"), "0:02.00");
    EXPECT_TRUE(media::parseTime(text(0, "Duration", Qt::EditRole).toStdString())) << "an edit starts exact";
    EXPECT_EQ(text(0, "Duration", Qt::ToolTipRole), text(0, "Duration", Qt::EditRole));
    EXPECT_TRUE(text(0, "Size").endsWith(" kB") || text(0, "Size").endsWith(" bytes"))
        << text(0, "Size").toStdString();
    EXPECT_TRUE(text(0, "Size", Qt::ToolTipRole).endsWith(" bytes"));
    EXPECT_EQ(text(0, "Icon", Qt::AccessibleTextRole), "Preview of clip.mov");
    EXPECT_FALSE(model().data(cell(0, "Filename"), Qt::ForegroundRole).isValid());
    std::filesystem::remove(clip);
    EXPECT_EQ(text(0, "Filename"), "clip.mov (missing)");
    EXPECT_TRUE(text(0, "Filename", Qt::ToolTipRole).startsWith("The file cannot be found."));
    EXPECT_TRUE(model().data(cell(0, "Filename"), Qt::ForegroundRole).isValid());
    EXPECT_EQ(text(0, "Date Modified", Qt::ToolTipRole), "") << "a file that is gone leaves no path to show";
}

TEST_F(FileTableCells, TheTableFitsItsWindowHintsWhenEmptyAndLetsTabMoveOn) {
    auto* hint = m_view.viewport()->findChild<QLabel*>("emptyListHint");
    ASSERT_TRUE(hint);
    QCoreApplication::processEvents();
    EXPECT_TRUE(hint->isVisible());
    EXPECT_EQ(hint->text(), "Drop movies, pictures and sound files here, or choose Add Files\u2026");
    addPictures(1);
    EXPECT_FALSE(hint->isVisible());
    filelist::clearAll(list());
    EXPECT_TRUE(hint->isVisible());
    EXPECT_FALSE(m_view.tabKeyNavigation());
    // Every column is in view at 900 pixels, File Name and Title share the rest.
    QCoreApplication::processEvents();
    EXPECT_EQ(m_view.horizontalScrollBar()->maximum(), 0);
    const int fileName = m_view.columnWidth(ui::FileTableModel::columnOfIdentifier("Filename"));
    EXPECT_GT(fileName, 100);
    EXPECT_EQ(fileName, m_view.columnWidth(ui::FileTableModel::columnOfIdentifier("Title")));
}

// Qt's own dialogs speak the user's language too (the file panels' buttons, Yes/No).
TEST_F(FileTableCells, QtsOwnTextsAreTranslated) {
    ASSERT_TRUE(ui::installQtTranslations(QLocale(QLocale::German, QLocale::Germany)));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Abbrechen");
    for (auto* translator : QCoreApplication::instance()->findChildren<QTranslator*>()) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
}

TEST_F(FileTableCells, ColumnsAreHiddenByTheirKeysPresentAndFalse) {
    defaults().setValue(support::Pref::SizeColumn, false);
    defaults().setValue(support::Pref::TitleColumn, true);
    m_table->applyColumnPreferences();
    for (int column = 0; column < model().columnCount(); ++column)
        EXPECT_EQ(m_view.isColumnHidden(column), ui::FileTableModel::identifierOfColumn(column) == "Size")
            << column;
    EXPECT_GT(m_view.verticalHeader()->defaultSectionSize(), 20);
    // Without the Icon column rows are 20 high; switching it on again brings both back.
    defaults().setValue(support::Pref::IconColumn, false);
    m_table->applyColumnPreferences();
    EXPECT_TRUE(m_view.isColumnHidden(ui::FileTableModel::columnOfIdentifier("Icon")));
    EXPECT_EQ(m_view.verticalHeader()->defaultSectionSize(), 20);
    defaults().remove(support::Pref::IconColumn);
    m_table->applyColumnPreferences();
    EXPECT_FALSE(m_view.isColumnHidden(ui::FileTableModel::columnOfIdentifier("Icon")));
}

TEST_F(FileTableCells, TitleAndFileNameEditsRetitleAndRenameInPlace) {
    addPictures(2);
    EXPECT_TRUE(model().setData(cell(0, "Title"), QString("Arrival"), Qt::EditRole));
    EXPECT_EQ(text(0, "Title"), "Arrival");
    // Only the last part of a typed path counts: the file stays in its folder.
    EXPECT_TRUE(model().setData(cell(0, "Filename"), QString("a/b/c.png"), Qt::EditRole));
    EXPECT_TRUE(std::filesystem::exists(dir() / "c.png") && !std::filesystem::exists(dir() / "p0.png"));
    EXPECT_EQ(text(0, "Filename"), "c.png");
    EXPECT_EQ(text(0, "Title"), "Arrival");
    // Not text, and columns that take no edits, change nothing.
    model().setData(cell(1, "Title"), 42, Qt::EditRole);
    model().setData(cell(1, "Size"), QString("1"), Qt::EditRole);
    EXPECT_EQ(text(1, "Title"), "1");
    EXPECT_TRUE(m_notices.empty());
    EXPECT_FALSE(model().flags(cell(1, "Size")) & Qt::ItemIsEditable);
    EXPECT_TRUE(model().flags(cell(1, "Duration")) & Qt::ItemIsEditable);
}

TEST_F(FileTableCells, ARenameOntoATakenNameIsRefusedAndLosesNothing) {
    addPictures(2);
    const auto before = std::filesystem::file_size(dir() / "p1.png");
    for (const QString& typed : {QString("p1.png"), QString(""), QString("..")}) {
        SCOPED_TRACE(typed.toStdString());
        const std::size_t noticesBefore = m_notices.size();
        model().setData(cell(0, "Filename"), typed, Qt::EditRole);
        ASSERT_EQ(m_notices.size(), noticesBefore + 1);
        EXPECT_EQ(messageOf(lastNotice()), "The file name could not be changed to \"" + typed + ".\"");
        EXPECT_EQ(informativeOf(lastNotice()), "A file by that name may exist, try another name.");
        EXPECT_EQ(lastNotice().kind, support::Told::Failure);
    }
    EXPECT_TRUE(std::filesystem::exists(dir() / "p0.png"));
    EXPECT_EQ(std::filesystem::file_size(dir() / "p1.png"), before);
    EXPECT_EQ(text(0, "Filename"), "p0.png");
}

// A rewrite that succeeds is JobResponsivenessTest's; here, the refusals.
TEST_F(FileTableCells, ADurationEditThatCannotBeAppliedSaysTheDurationWasNotModified) {
    const auto clip = fixtures::makeClip(dir(), "clip.mov", {.container = "mov", .frames = 50}); // 2 seconds
    list().insertEntry(platform::getAlias(clip), 0, std::nullopt);
    addPictures(1);
    // A picture cannot be written back, and a text that is no time is not applied.
    const QString pictureDuration = text(1, "Duration");
    for (const auto& [row, typed] : {std::pair{1, QString("10")}, std::pair{0, QString("soon")}}) {
        m_notices.clear();
        model().setData(cell(row, "Duration"), typed, Qt::EditRole);
        waitUntil([this] { return !m_jobs->isRunning(); });
        ASSERT_EQ(m_notices.size(), 1u) << typed.toStdString();
        EXPECT_EQ(messageOf(m_notices[0]), "The duration was not modified.");
        // A text that is no time is refused as such; a file that cannot be rewritten tells why.
        if (typed == "soon")
            EXPECT_EQ(informativeOf(m_notices[0]), "Make sure the file is a movie.");
        else
            EXPECT_FALSE(informativeOf(m_notices[0]).trimmed().isEmpty());
    }
    EXPECT_EQ(text(1, "Duration"), pictureDuration);
    EXPECT_NEAR(media::seconds(list().movies()[0].movie->duration()), 2.0, 0.05);
}

TEST_F(FileTableCells, OpenRevealAndRemoveActOnTheLastSelectedRow) {
    addPictures(3);
    m_table->openItem(); // nothing selected: nothing happens
    m_view.selectionModel()->select(QItemSelection(cell(0, "Index"), cell(1, "Index")),
                                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
    m_table->doubleAction();
    m_table->revealItem();
    EXPECT_EQ(m_desktop.opened(), std::vector{dir() / "p1.png"});
    EXPECT_EQ(m_desktop.revealed(), std::vector{dir() / "p1.png"});
    std::filesystem::remove(dir() / "p1.png"); // a gone file is not opened
    m_table->openItem();
    EXPECT_EQ(m_desktop.opened().size(), 1u);
    m_table->removeSelected();
    EXPECT_EQ(titles(), QStringList{"2"});
}

// Previews made in the background, and what the browse panel shows. That the
// status line is drawn while files are added is FileListTest's.
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
    m_table->removeSelected();
    release.release(3);
    runEventsUntil([&] { return !m_table->previewsPending(); });
    ASSERT_EQ(titles(), (QStringList{"2", "0"}));
    EXPECT_EQ(made.load(), 3) << "each file once, however often its row is drawn";
    EXPECT_TRUE(list().movies()[0].icon && list().movies()[1].icon);
}

// The Add Files panel, answered as a person answers it: every typed name is
// taken (the list then names what it cannot add), not only the highlighted rows.
TEST_F(FileTablePreviews, TheAddFilesPanelTakesEveryTypedName) {
    for (const char* name : {"a.png", "b.png", "c.png"})
        picture(name);
    writeFile(dir() / "notes.txt");
    whenModalShown([this](QWidget& modal) {
        auto& panel = dynamic_cast<QFileDialog&>(modal);
        EXPECT_TRUE(panel.nameFilters().value(0).contains("*")) << "every file is shown";
        panel.setDirectory(QFile::decodeName(dir().c_str()));
        panel.findChild<QLineEdit*>("fileNameEdit")->setText(R"("c.png" "a.png" "notes.txt" "b.png")");
        auto* buttons = panel.findChild<QDialogButtonBox*>();
        ASSERT_TRUE(buttons);
        emit buttons->accepted();
    });
    ui::runAddFilesPanel(m_view, *m_listCommands);
    EXPECT_EQ(titles(), (QStringList{"a", "b", "c"}));
    ASSERT_EQ(m_notices.size(), 1u);
    EXPECT_EQ(messageOf(m_notices[0]), "1 file was not added.");
    EXPECT_TRUE(informativeOf(m_notices[0]).startsWith("notes.txt: "));
    EXPECT_EQ(ui::typedNames(R"( "a b.mov"  "c.mov" )"), (QStringList{"a b.mov", "c.mov"}));
    EXPECT_EQ(ui::typedNames("one name.mov"), QStringList{"one name.mov"});
}

// A name in Latin-1, as old cameras and archives write them: the panel shows
// it decoded, and the file it names keeps its bytes.
TEST_F(FileTablePreviews, APanelNameThatIsNotUtf8FindsItsFile) {
    const std::filesystem::path latin1 = dir() / "caf\xe9.png";
    std::filesystem::copy_file(picture("cafe.png"), latin1);
    const QString shown = QFile::decodeName(latin1.c_str());
    EXPECT_EQ(ui::fileOfPanelName(shown), latin1);
    EXPECT_EQ(ui::fileOfPanelName(QFile::decodeName((dir() / "cafe.png").c_str())), dir() / "cafe.png");
    EXPECT_EQ(ui::fileOfPanelName(QFile::decodeName((dir() / "none.png").c_str())), dir() / "none.png")
        << "a name that is nowhere stays as given; the list says it cannot be added";
}

} // namespace
} // namespace testing_support
