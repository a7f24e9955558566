// The main window driven as a person does: its controls follow the list, its
// alerts are sheets or modal as they should be, a write can be cancelled from
// the progress sheet, and the lifecycle keeps the viewer's state.

#include "FileContents.h"
#include "WindowHarness.h"
#include "app/HelpAddresses.h"
#include "support/PreferenceKeys.h"
#include "ui/ProgressSheet.h"
#include "ui/FileTable.h"
#include "ui/FileTableModel.h"
#include "ui/LocalizeWidgets.h"
#include "ui/ViewerWindow.h"
#include "ui/Alerts.h"

#include <QAction>
#include <QFileDialog>
#include <QCheckBox>
#include <QHeaderView>
#include <QMenuBar>
#include <QLabel>
#include <QProgressBar>
#include <QRegularExpression>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <csignal>
#include <fstream>

namespace {

using testing_support::contentsOf;
using testing_support::ModalAnswerer;
using testing_support::pressOK;
using testing_support::WindowTest;
using testing_support::writeFile;

using Controls = std::vector<std::pair<const char*, const char*>>; // a button (or none) and its menu item
// clang-format off
const Controls kListControls{{"clearButton", "actionRemove"}, {"clearButton", "actionClear"},
    {"joinButton", "actionJoin"}, {"exportButton", "actionExport"}, {"", "actionNumberFiles"},
    {"", "actionRemoveNumbers"}, {"", "actionExportList"}};
const Controls kOrderingControls{{"reverseButton", "actionReverse"}, {"sortButton", "actionSortByName"},
    {"titleSortButton", "actionSortByTitle"}, {"dateSortButton", "actionSortByModificationDate"},
    {"createDateSortButton", "actionSortByCreationDate"}, {"exifSortButton", "actionSortByExifDate"}};
// clang-format on

class MainWindowTest : public WindowTest {
protected:
    void expectEnabled(const Controls& controls, bool enabled, const std::string& step) {
        for (const auto& [button, action] : controls) {
            if (*button) {
                EXPECT_EQ(child<QPushButton>(button).isEnabled(), enabled) << step << ": " << button;
            }
            EXPECT_EQ(child<QAction>(action).isEnabled(), enabled) << step << ": " << action;
        }
    }
};

// Controls that would do nothing are disabled: those on the list while it is
// empty, the ordering ones with fewer than two entries, and the menu items on
// the selection without one.
TEST_F(MainWindowTest, ButtonsAndMenuItemsFollowTheEntriesAndTheSelection) {
    launch();
    const auto first = clip("first.mp4"), second = clip("second.mp4");
    auto& table = child<QTableView>("movieTable");
    const Controls selectionItems{{"", "actionOpenItem"}, {"", "actionRevealItem"}};
    struct Step {
        std::string name;
        std::function<void()> act;
        bool listControls, orderingControls, selectionControls;
    };
    const std::vector<Step> steps{
        {"launch", [] {}, false, false, false},
        {"one file opened", [&] { window().openDocuments({first}); }, true, false, false},
        {"selected", [&] { table.selectRow(0); }, true, false, true},
        {"selection cleared", [&] { table.clearSelection(); }, true, false, false},
        {"a second file", [&] { window().openDocuments({second}); }, true, true, false},
        {"Remove with nothing selected", [&] { child<QPushButton>("clearButton").click(); }, true, true, false},
        {"Clear List", [&] { child<QAction>("actionClear").trigger(); }, false, false, false},
    };
    for (const Step& step : steps) {
        step.act();
        expectEnabled(kListControls, step.listControls, step.name);
        expectEnabled(kOrderingControls, step.orderingControls, step.name);
        expectEnabled(selectionItems, step.selectionControls, step.name);
    }
    EXPECT_TRUE(child<QLabel>("durationTextField").isHidden()) << "an empty list shows no total";
}

TEST_F(MainWindowTest, OrderingButtonsAndListItemsRunTheirCommands) {
    launch();
    window().openDocuments({clip("c.mp4"), clip("a.mp4"), clip("b.mp4")});
    const auto names = [&] {
        QStringList list;
        for (int row = 0; row < session().fileList().count(); ++row)
            list << QString::fromStdString(session().fileList().pathOfEntry(row)->filename().string());
        return list;
    };
    ASSERT_EQ(names(), (QStringList{"a.mp4", "b.mp4", "c.mp4"}));
    child<QPushButton>("reverseButton").click();
    EXPECT_EQ(names(), (QStringList{"c.mp4", "b.mp4", "a.mp4"}));
    // Renaming files on disk asks first: Cancel renames nothing; "Do not ask again" is kept.
    for (const bool goOn : {false, true}) {
        QString question;
        const ModalAnswerer answer([&](QWidget& modal) {
            auto* box = qobject_cast<QMessageBox*>(&modal);
            if (!box || modal.objectName() != "fileChangeQuestion")
                return;
            question = box->text();
            box->checkBox()->setChecked(true);
            (goOn ? box->buttons().constFirst() : box->button(QMessageBox::Cancel))->click();
        });
        child<QAction>("actionNumberFiles").trigger();
        EXPECT_EQ(question, "Rename the listed files on disk?");
    }
    EXPECT_EQ(names(), (QStringList{"000001 c.mp4", "000002 b.mp4", "000003 a.mp4"}));
    EXPECT_FALSE(session().defaults().boolValue(support::Pref::AskBeforeChangingFiles));
    child<QAction>("actionRemoveNumbers").trigger(); // no question any more
    EXPECT_EQ(names(), (QStringList{"c.mp4", "b.mp4", "a.mp4"}));
}

TEST_F(MainWindowTest, AlertWithAParentIsASheetThatReturnsAtOnce) {
    launch();
    ui::showAlert({support::Told::Failure, "The movie could not be saved.", "%@", {}, {"Disk <b>full</b>"}}, &window());
    auto* sheet = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(sheet, nullptr) << "the sheet is up after the call returned";
    EXPECT_EQ(sheet->windowModality(), Qt::WindowModal);
    EXPECT_EQ(sheet->parentWidget(), &window());
    EXPECT_EQ(pressOK(*sheet), (QStringList{"The movie could not be saved.", "Disk <b>full</b>"}));
    testing_support::runEventsUntil([] { return QApplication::activeModalWidget() == nullptr; });
}

TEST_F(MainWindowTest, OpenedDocumentsAddWhatOpensAndNameTheRestInOneAlert) {
    launch();
    const std::filesystem::path folder = dir() / "holiday";
    std::filesystem::create_directory(folder);
    fixtures::makeClip(folder, "beach.mp4", {});
    std::ofstream(folder / "notes.txt") << "not a movie";
    std::ofstream(dir() / "broken.mov") << "not a movie either";
    QList<QStringList> alerts; // each alert's modality and texts
    {
        const ModalAnswerer answer([&](QWidget& modal) {
            if (auto* box = qobject_cast<QMessageBox*>(&modal))
                alerts << QStringList{box->windowModality() == Qt::ApplicationModal ? "application"
                                                                                    : "window"} +
                              pressOK(*box);
        });
        window().openDocuments({dir() / "broken.mov", folder});
    }
    // One alert for the files and the folder's; what it says of each is FileTableDrops'.
    ASSERT_EQ(alerts.size(), 1);
    EXPECT_EQ(alerts[0].value(0), "application");
    EXPECT_EQ(alerts[0].value(1), "2 files were not added.");
    ASSERT_EQ(session().fileList().count(), 1);
    EXPECT_EQ(session().fileList().pathOfEntry(0), folder / "beach.mp4");
}

TEST_F(MainWindowTest, CancelOnTheProgressSheetStopsTheWriteAndNothingElseTakesInput) {
    launch();
    const std::filesystem::path out = dir() / "out";
    std::filesystem::create_directory(out);
    // Sources of different sizes and rates: the join re-encodes, long enough for Cancel to come first.
    window().openDocuments({clip("one.mp4", 100),
                            fixtures::makeClip(dir(), "two.mkv",
                                               {.container = "mkv", .width = 320, .height = 240, .fpsNum = 30,
                                                .frames = 100})});
    session().defaults().setValue(support::Pref::PromptForFilename, false);
    useOutputFolder(out);
    ui::ProgressSheet& sheet = window().progressSheet();
    bool sheetWasWindowModal = false;
    int removeClicks = 0;
    QObject::connect(&child<QPushButton>("clearButton"), &QPushButton::clicked, [&] { ++removeClicks; });
    QTimer clicker;
    QObject::connect(&clicker, &QTimer::timeout, [&] {
        if (!sheet.isVisible())
            return;
        clicker.stop();
        sheetWasWindowModal = QApplication::activeModalWidget() == &sheet;
        // Clicks as the window system delivers them: one on the main window's
        // Remove goes nowhere while the sheet is up, one on Cancel stops the write.
        const auto click = [](QWidget& button) {
            QWidget& top = *button.window();
            QTest::mouseClick(top.windowHandle(), Qt::LeftButton, {},
                              button.mapTo(&top, button.rect().center()));
        };
        click(child<QPushButton>("clearButton"));
        click(*sheet.findChild<QPushButton*>("cancelButton"));
    });
    clicker.start(0);
    child<QPushButton>("joinButton").click();
    testing_support::runEventsUntil([&] { return !window().jobs().isRunning(); });
    EXPECT_TRUE(sheetWasWindowModal);
    EXPECT_EQ(removeClicks, 0) << "the main window took a click while the sheet was up";
    EXPECT_TRUE(std::filesystem::is_empty(out)) << "cancelled";
    EXPECT_TRUE(child<QProgressBar>("spinner").isHidden());
    child<QPushButton>("joinButton").click();
    testing_support::runEventsUntil([&] { return !window().jobs().isRunning(); });
    EXPECT_FALSE(std::filesystem::is_empty(out)) << "the next join runs to its end";
}

// The save panel is a sheet; a name that is free only until the required
// extension is added is asked about before replacing. (A join through the
// panel and the window's new title are the smoke test's.)
TEST_F(MainWindowTest, TheSavePanelIsASheetAndAsksBeforeReplacing) {
    launch();
    window().openDocuments({clip("a.mp4")});
    writeFile(dir() / "notes.csv.txt", "kept");
    QString question;
    {
        const ModalAnswerer answer([&](QWidget& modal) {
            if (modal.objectName() == "savePanel") {
                EXPECT_EQ(modal.windowModality(), Qt::WindowModal);
                auto& panel = dynamic_cast<QFileDialog&>(modal);
                panel.selectFile(QString::fromStdString(dir() / "notes.csv"));
                static_cast<QDialog&>(panel).accept();
            } else if (auto* box = qobject_cast<QMessageBox*>(&modal)) {
                question = box->text();
                box->button(QMessageBox::No)->click();
            }
        });
        child<QAction>("actionExportList").trigger();
    }
    EXPECT_EQ(question, "\"notes.csv.txt\" already exists. Do you want to replace it?");
    EXPECT_EQ(contentsOf(dir() / "notes.csv.txt"), "kept");
}

// The window comes back where and as large as it was left, with the widths
// the user gave the columns (File Name and Title keep filling the rest), and
// the viewer shown again when it was open at the last exit.
TEST_F(MainWindowTest, PlaceColumnWidthsAndTheViewerComeBackAtTheNextStart) {
    launch();
    EXPECT_FALSE(window().viewerWindow().isVisible()) << "nothing stored: hidden";
    window().resize(1000, 520);
    constexpr int kDurationColumn = 4;
    child<QTableView>("movieTable").horizontalHeader()->resizeSection(kDurationColumn, 123);
    window().viewerWindow().setVisible(true);
    relaunch();
    EXPECT_EQ(window().size(), QSize(1000, 520));
    const auto* columns = child<QTableView>("movieTable").horizontalHeader();
    EXPECT_EQ(columns->sectionSize(kDurationColumn), 123);
    EXPECT_EQ(columns->sectionResizeMode(2), QHeaderView::Stretch) << "File Name still stretches";
    EXPECT_TRUE(window().viewerWindow().isVisible()) << "termination saved what was on screen";
    window().viewerWindow().setVisible(false);
    relaunch();
    EXPECT_FALSE(window().viewerWindow().isVisible());
}

// Every button and menu item can be reached with Alt and a letter, in
// English and in translation; a text line is named by what it says.
TEST_F(MainWindowTest, ButtonsAndMenusHaveMnemonicsAndTextLinesReadTheirText) {
    launch();
    for (QPushButton* button : window().findChildren<QPushButton*>()) {
        if (button->window() == &window() && !button->text().isEmpty()) {
            EXPECT_GE(ui::mnemonicPosition(button->text()), 0) << button->objectName().toStdString();
        }
    }
    for (QAction* menu : window().menuBar()->actions()) {
        EXPECT_GE(ui::mnemonicPosition(menu->text()), 0) << menu->text().toStdString();
        for (QAction* item : menu->menu()->actions()) {
            if (!item->isSeparator()) {
                EXPECT_GE(ui::mnemonicPosition(item->text()), 0) << item->text().toStdString();
            }
        }
    }
    for (const char* line : {"messagesTextField", "durationTextField"})
        EXPECT_TRUE(child<QLabel>(line).accessibleName().isEmpty()) << line << ": the label's text is its name";
    EXPECT_EQ(child<QAction>("actionSortByTitle").text(), "Sort by &Title") << "the letter chosen, not the first t";
    EXPECT_EQ(ui::mnemonicPosition("Tom && Jerry"), -1);
    EXPECT_EQ(ui::mnemonicPosition("Tom && &Jerry"), 7);
}

// Help opens the README this program came with; a build given no web page
// shows no item for one.
TEST_F(MainWindowTest, HelpShowsOnlyTheAddressesThisBuildHas) {
    launch();
    ASSERT_TRUE(app::manualAddress().has_value());
    EXPECT_TRUE(app::manualAddress()->isLocalFile());
    EXPECT_TRUE(app::manualAddress()->path().endsWith("README.md"));
    EXPECT_TRUE(child<QAction>("actionHelp").isVisible());
    EXPECT_EQ(child<QAction>("actionWebsite").isVisible(), app::productPageAddress().has_value());
}

// A logout in the middle of a join: the list is saved as a quit saves it,
// and neither the movie's temporary file nor its reserved name is left.
TEST_F(MainWindowTest, ASignalDuringAJoinSavesTheListAndLeavesNoFile) {
    // The child runs this test again in a new process (a fork of a process
    // with threads could hang on a lock one of them held); it works in the
    // folder this process made, named in the environment.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    constexpr const char* kSharedFolder = "JOINCLIP_TEST_SIGNAL_FOLDER";
    const bool isChild = qEnvironmentVariableIsSet(kSharedFolder);
    const std::filesystem::path folder =
        isChild ? std::filesystem::path(qgetenv(kSharedFolder).toStdString()) : dir();
    const std::filesystem::path out = folder / "out", one = folder / "one.mp4", two = folder / "two.mkv";
    if (!isChild) {
        std::filesystem::create_directories(out);
        fixtures::makeClip(folder, "one.mp4", {.frames = 150});
        fixtures::makeClip(folder, "two.mkv",
                           {.container = "mkv", .width = 320, .height = 240, .fpsNum = 30, .frames = 150});
        qputenv(kSharedFolder, QByteArray(folder.c_str()));
    }
    EXPECT_EXIT(
        {
            useStoreIn(folder);
            launch();
            session().defaults().setValue(support::Pref::RememberFileList, true);
            session().defaults().setValue(support::Pref::PromptForFilename, false);
            useOutputFolder(out);
            window().openDocuments({one, two});
            child<QPushButton>("joinButton").click();
            testing_support::runEventsUntil(
                [&] { return testing_support::namesIn(out).size() >= 2; }); // the name and the temporary file
            if (testing_support::namesIn(out).size() < 2)
                std::_Exit(3); // the join was not under way: nothing would be checked
            window().endBySignal(SIGTERM);
        },
        ::testing::KilledBySignal(SIGTERM), "");
    qunsetenv(kSharedFolder);
    EXPECT_TRUE(std::filesystem::is_empty(out)) << ::testing::PrintToString(testing_support::namesIn(out));
    const platform::Preferences saved(folder / "preferences.plist");
    EXPECT_EQ(saved.value("MovieAliases").toList().size(), 2);
}

// Every command ends with a word: Export says what it wrote and where, a
// join names its movie in the title until the list is cleared, and a
// failure looks like one. (What each command tells is the command tests'.)
TEST_F(MainWindowTest, CommandsEndWithALineAndFailuresLookLikeErrors) {
    launch();
    const std::filesystem::path out = dir() / "out";
    std::filesystem::create_directory(out);
    window().openDocuments({clip("one.mp4"), clip("two.mp4")});
    session().defaults().setValue(support::Pref::PromptForFilename, false);
    useOutputFolder(out);
    const QStringList mpeg4 =
        session().outputFormat().components().titles().filter(QRegularExpression("^MPEG-4 \\["));
    ASSERT_FALSE(mpeg4.isEmpty());
    ASSERT_TRUE(session().outputFormat().select(mpeg4[0]));
    session().defaults().setValue(support::Pref::Export, true);
    child<QPushButton>("exportButton").click();
    testing_support::runEventsUntil([&] { return !window().jobs().isRunning(); });
    EXPECT_EQ(child<QLabel>("messagesTextField").text(),
              "2 files were exported to " + QString::fromStdString(out.string()) + ".");

    session().defaults().setValue(support::Pref::Export, false);
    child<QPushButton>("joinButton").click();
    testing_support::runEventsUntil([&] { return !window().jobs().isRunning(); });
    EXPECT_TRUE(window().windowTitle().startsWith("one")) << window().windowTitle().toStdString();
    child<QAction>("actionClear").trigger();
    EXPECT_EQ(window().windowTitle(), "JoinClip");
    EXPECT_TRUE(window().windowFilePath().isEmpty());

    // A list file that is not one: the import fails, told as an error.
    const std::filesystem::path notAList = dir() / "notes.txt";
    writeFile(notAList, "\xff\xfe not text");
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    {
        const ModalAnswerer answer([&](QWidget& modal) {
            if (auto* panel = qobject_cast<QFileDialog*>(&modal)) {
                panel->selectFile(QString::fromStdString(notAList.string()));
                static_cast<QDialog&>(*panel).accept();
            } else if (auto* box = qobject_cast<QMessageBox*>(&modal)) {
                icon = box->icon();
                pressOK(*box);
            }
        });
        child<QAction>("actionImportList").trigger();
        testing_support::runEventsUntil([&] { return icon != QMessageBox::NoIcon; });
    }
    EXPECT_EQ(icon, QMessageBox::Critical);
}

// A duration typed into the table rewrites the movie's file: asked first,
// the original then waits in the trash, and the status line says so.
TEST_F(MainWindowTest, ADurationTypedIntoTheTableAsksAndKeepsTheOriginalInTheTrash) {
    launch();
    const std::filesystem::path movie = fixtures::makeClip(dir(), "short.mov", {.container = "mov", .frames = 25});
    const std::string original = testing_support::contentsOf(movie);
    window().openDocuments({movie});
    ui::FileTableModel& model = window().fileTable().model();
    const QModelIndex duration = model.index(0, ui::FileTableModel::columnOfIdentifier("Duration"));
    int questions = 0;
    const ModalAnswerer answer([&](QWidget& modal) {
        if (auto* box = qobject_cast<QMessageBox*>(&modal); box && modal.objectName() == "fileChangeQuestion") {
            ++questions;
            box->buttons().constFirst()->click();
        }
    });
    model.setData(duration, QString("2"), Qt::EditRole);
    testing_support::runEventsUntil([&] { return !window().jobs().isRunning(); });
    EXPECT_EQ(questions, 1); // the rewrite itself is FileTableCells' and JobResponsivenessTest's
    EXPECT_EQ(testing_support::contentsOf(trashFolder() / "short.mov"), original);
    EXPECT_EQ(child<QLabel>("messagesTextField").text(),
              "\"short.mov\" now lasts 0:02.00. The original is in the trash.");
    EXPECT_EQ(testing_support::namesIn(dir()), (std::vector<std::string>{"short.mov"})) << "nothing hidden is left";
}

} // namespace
