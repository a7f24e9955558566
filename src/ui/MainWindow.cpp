#include "ui/MainWindow.h"
#include "filelist/ListEdits.h"

#include "app/HelpAddresses.h"
#include "app/JobRunner.h"
#include "app/ListCommands.h"
#include "app/Session.h"
#include "app/WriteCommands.h"
#include "join/DockProgress.h"
#include "media/FilesInProgress.h"
#include "net/DownloadQueue.h"
#include "net/UpdateCheck.h"
#include "platform/ApplicationDockTile.h"
#include "platform/DesktopServices.h"
#include "platform/Preferences.h"
#include "support/Console.h"
#include "support/LocalizedString.h"
#include "ui/Alerts.h"
#include "ui/ApplicationEventPump.h"
#include "ui/DownloadBar.h"
#include "ui/FileChangeQuestion.h"
#include "ui/FilePanels.h"
#include "ui/FileTable.h"
#include "ui/FileTableModel.h"
#include "ui/FilterWindow.h"
#include "ui/FolderChooser.h"
#include "ui/LocalizeWidgets.h"
#include "ui/PreferencesWindow.h"
#include "ui/ProgressSheet.h"
#include "ui/SoftwareUpdateWindow.h"
#include "ui/SplitterWindow.h"
#include "ui/ViewerWindow.h"
#include "ui/WindowPlacement.h"
#include "ui_MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QHeaderView>
#include <QTimer>

namespace ui {

namespace {

// How long opened documents wait before trying again while the window is busy.
constexpr int kBusyRetryMilliseconds = 200;

} // namespace

// The desktop's services the window's commands use.
struct MainWindow::Desktop final {
    support::StandardErrorConsole console;
    platform::QtDesktopServices services;
    platform::ApplicationDockTile dockTile;
    ApplicationEventPump drawing;
};

MainWindow::MainWindow(platform::Preferences& store, QWidget* parent)
    : QMainWindow(parent), m_ui(std::make_unique<Ui::MainWindow>()), m_desktop(std::make_unique<Desktop>()),
      m_session(std::make_unique<app::Session>(store)), m_jobs(std::make_unique<app::JobRunner>()),
      m_listCommands(std::make_unique<app::ListCommands>(m_session->fileList(), m_desktop->console)),
      m_writeCommands(std::make_unique<app::WriteCommands>(*m_session, *m_jobs, m_desktop->console)) {
    m_ui->setupUi(this);
    localizeWidgetTree(*this);
    // Translated buttons may need more room than the English ones the size was made for.
    resize(size().expandedTo(minimumSizeHint()));
    m_ui->movieTable->horizontalHeader()->setStretchLastSection(true);
    m_ui->movieTable->verticalHeader()->hide();
    m_ui->spinner->setTextVisible(false);
    showBusy(false);

    m_table = std::make_unique<FileTable>(*m_ui->movieTable);
    m_progressSheet = new ProgressSheet(*this);
    localizeWidgetTree(*m_progressSheet);
    m_preferences = new PreferencesWindow(this);
    m_viewer = new ViewerWindow(this);
    localizeWidgetTree(*m_viewer);
    // The movie filter window, brought to the front from the Window menu.
    auto* filterWindow = new FilterWindow(store, m_desktop->services, this);
    connect(m_ui->menuWindow->addAction(tr("Movie &Filter"), QKeySequence(tr("Ctrl+Shift+F"))), &QAction::triggered,
            filterWindow, &FilterWindow::showWindow);
    // The movie splitter window, likewise.
    auto* splitterWindow = new SplitterWindow(store, this);
    connect(m_ui->menuWindow->addAction(tr("Movie &Splitter")), &QAction::triggered, splitterWindow,
            &SplitterWindow::showWindow);

    app::Session& session = *m_session;
    m_table->attach(session, *m_listCommands, *m_writeCommands, m_desktop->services);
    m_viewer->attach(session, *m_ui->movieTable);
    m_preferences->attach(session, m_desktop->services, m_desktop->console);
    m_downloads = std::make_unique<DownloadBar>(
        DownloadBar::Widgets{*this, *m_ui->downloadRow, *m_ui->movieDownloadProgressText,
                             *m_ui->movieDownloadProgressBar, *m_ui->movieDownloadCancelButton},
        session.fileList(), session.defaults(), m_desktop->console);
    m_table->setMovieDownloadQueue(m_downloads->queue());
    m_softwareUpdate = new SoftwareUpdateWindow(
        net::versionFileAddress(), QStringLiteral(JOINCLIP_VERSION),
        [](const QString& version) {
            showAlert({support::Told::Information,
                       "An update is available for JoinClip (version %@.) Use Software Update in the JoinClip menu "
                       "to download it.",
                       "(You can turn off automatic software update checks in Preferences.)", {version}},
                      nullptr);
        },
        this);
    connectList();
    connectJobs();
    connectCommands();
    connectMenus();
}

MainWindow::~MainWindow() = default;

// The list's lines and the commands that need entries follow the list.
void MainWindow::connectList() {
    filelist::FileList& list = m_session->fileList();
    Ui::MainWindow& form = *m_ui;
    const auto enableCommands = [&list, &form] {
        // The list's commands are there while it holds entries, the orderings while it holds two.
        for (QWidget* button : {static_cast<QWidget*>(form.clearButton), static_cast<QWidget*>(form.joinButton),
                                static_cast<QWidget*>(form.exportButton)})
            button->setEnabled(list.count() >= 1);
        for (QAction* action : {form.actionRemove, form.actionClear, form.actionJoin, form.actionExport})
            action->setEnabled(list.count() >= 1);
        for (QWidget* button : {form.reverseButton, form.sortButton, form.titleSortButton, form.dateSortButton,
                                form.createDateSortButton, form.exifSortButton})
            button->setEnabled(list.count() >= 2);
        for (QAction* action : {form.actionReverse, form.actionSortByName, form.actionSortByTitle,
                                form.actionSortByModificationDate, form.actionSortByCreationDate,
                                form.actionSortByExifDate})
            action->setEnabled(list.count() >= 2);
    };
    connect(&list, &filelist::FileList::changed, this, enableCommands);
    enableCommands();
    // A batch of files is added on this thread: its lines are drawn as they come.
    connect(&list, &filelist::FileList::statusChanged, this, [this](const QString& text) {
        showStatus(text);
        m_desktop->drawing.processPendingDrawing();
    });
    connect(&list, &filelist::FileList::busyChanged, this, &MainWindow::showBusy);
    connect(&list, &filelist::FileList::totalDurationChanged, this, [this, &list] {
        const std::optional<QString>& line = list.totalDuration();
        m_ui->durationTextField->setText(line.value_or(QString()));
        m_ui->durationTextField->setVisible(line.has_value());
    });
}

// A job under way shows in the progress sheet, the spinner and the pie on the application's tile.
void MainWindow::connectJobs() {
    app::JobRunner& jobs = *m_jobs;
    platform::DockTile& tile = m_desktop->dockTile;
    // The tile's pie is drawn again only when it grows by a degree: every
    // drawing sets the icon of each of the application's windows.
    auto sweep = std::make_shared<int>(0);
    connect(&jobs, &app::JobRunner::started, this, [this, &tile, sweep](const QString& title) {
        showBusy(true);
        *sweep = 0;
        join::DrawDockProgressForPercent(tile, 0);
        m_progressSheet->begin(title);
    });
    connect(&jobs, &app::JobRunner::progressed, this,
            [this, &tile, sweep](double fraction, const QString& timeLine) {
                // A cancelled job's last words never come here (JobRunner::showProgress).
                m_progressSheet->showProgress(fraction, timeLine);
                const auto percent = static_cast<float>(fraction * 100);
                if (const int degrees = join::pieSweepForPercent(percent); degrees != *sweep) {
                    *sweep = degrees;
                    join::DrawDockProgressForPercent(tile, percent);
                }
            });
    connect(&jobs, &app::JobRunner::phaseChanged, this, &MainWindow::showStatus);
    connect(&jobs, &app::JobRunner::ended, this, [this, &tile] {
        m_progressSheet->end();
        showBusy(false);
        tile.restore();
    });
    connect(m_progressSheet, &ProgressSheet::cancelRequested, &jobs, &app::JobRunner::cancel);
}

// What the commands and the other windows tell goes to the status line and to alerts on this window.
void MainWindow::connectCommands() {
    const auto alert = [this](const support::Notice& notice) { showAlert(notice, this); };
    // The list's notices come also while the window is not in front (files
    // other applications open): an alert of the application, not a sheet.
    connect(m_listCommands.get(), &app::ListCommands::noticed, this,
            [](const support::Notice& notice) { showAlert(notice, nullptr); });
    connect(m_listCommands.get(), &app::ListCommands::statusChanged, this, &MainWindow::showStatus);
    // A beep for each file whose rename was refused, as for a single rename in the table.
    connect(m_listCommands.get(), &app::ListCommands::renameRefused, this, [] { QApplication::beep(); });
    connect(m_writeCommands.get(), &app::WriteCommands::noticed, this, alert);
    connect(m_writeCommands.get(), &app::WriteCommands::statusChanged, this, &MainWindow::showStatus);
    connect(m_writeCommands.get(), &app::WriteCommands::joined, this, &MainWindow::showJoined);
    connect(&m_table->model(), &FileTableModel::noticed, this, alert);
    connect(&m_table->model(), &FileTableModel::statusChanged, this, &MainWindow::showStatus);
    connect(m_viewer, &ViewerWindow::statusChanged, this, &MainWindow::showStatus);
    connect(m_preferences, &PreferencesWindow::statusChanged, this, &MainWindow::showStatus);
    connect(m_downloads.get(), &DownloadBar::statusChanged, this, &MainWindow::showStatus);
    // Column switches in the preferences show or hide the table's columns at once.
    connect(m_preferences, &PreferencesWindow::columnsChanged, this, [this] { m_table->applyColumnPreferences(); });
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state == Qt::ApplicationActive)
            m_session->fileList().followMovedFiles(); // files renamed or moved meanwhile
    });
}

void MainWindow::connectMenus() {
    Ui::MainWindow& form = *m_ui;
    filelist::FileList& list = m_session->fileList();
    app::ListCommands& commands = *m_listCommands;
    const auto on = [this](auto* sender, auto signal, auto command) { connect(sender, signal, this, command); };
    // Each button has a menu item twin that runs the same command.
    const auto onButtonAndItem = [&on](QPushButton* button, QAction* item, auto command) {
        on(button, &QPushButton::clicked, command);
        on(item, &QAction::triggered, command);
    };
    onButtonAndItem(form.browseButton, form.actionAddFiles, [this] { addFiles(); });
    onButtonAndItem(form.clearButton, form.actionRemove, [this] { m_table->removeSelected(); });
    // A cleared list is a new start: the title no longer names the last movie written.
    on(form.actionClear, &QAction::triggered, [this, &list, title = windowTitle()] {
        filelist::clearAll(list);
        setWindowFilePath(QString());
        setWindowTitle(title);
    });
    onButtonAndItem(form.joinButton, form.actionJoin, [this] { join(); });
    onButtonAndItem(form.exportButton, form.actionExport, [this] { exportFiles(); });
    onButtonAndItem(form.sortButton, form.actionSortByName, [&list] { filelist::sortBy(list, filelist::SortKey::Name); });
    onButtonAndItem(form.titleSortButton, form.actionSortByTitle, [&list] { filelist::sortBy(list, filelist::SortKey::Title); });
    onButtonAndItem(form.dateSortButton, form.actionSortByModificationDate,
                    [&list] { filelist::sortBy(list, filelist::SortKey::ModificationDate); });
    onButtonAndItem(form.createDateSortButton, form.actionSortByCreationDate,
                    [&list] { filelist::sortBy(list, filelist::SortKey::CreationDate); });
    onButtonAndItem(form.exifSortButton, form.actionSortByExifDate,
                    [&list] { filelist::sortBy(list, filelist::SortKey::ExifDate); });
    onButtonAndItem(form.reverseButton, form.actionReverse, [&list] { filelist::reverseList(list); });
    // Commands that change the user's files on disk ask first (until told not to).
    support::UserDefaults& defaults = m_session->defaults();
    const auto confirmRenaming = [this, &defaults] {
        return confirmFileChange(*this, defaults, support::LocalizedString("Rename the listed files on disk?"),
                                 support::LocalizedString("Each file keeps its place; only its name changes."));
    };
    on(form.actionNumberFiles, &QAction::triggered, [&commands, confirmRenaming] {
        if (confirmRenaming())
            (void)commands.renameFilesInSequence(); // the status line tells what was not renamed
    });
    on(form.actionRemoveNumbers, &QAction::triggered, [&commands, confirmRenaming] {
        if (confirmRenaming())
            (void)commands.removeFilenamePrefixes();
    });
    m_table->model().confirmRewrite = [this, &defaults] {
        return confirmFileChange(
            *this, defaults, support::LocalizedString("Rewrite the movie's file to the new duration?"),
            support::LocalizedString("The movie is stretched or shortened to the new duration and saved into its "
                                     "own file. The original goes to the trash, where it can be restored."));
    };
    // The list file commands' answers are for the command line; here the user has been told.
    on(form.actionExportList, &QAction::triggered, [this, &commands] {
        (void)commands.exportFileList(
            [this] { return askSavePath(*this, std::nullopt, "JoinClip File List Export", QStringLiteral(".txt")); });
    });
    on(form.actionImportList, &QAction::triggered, [this, &commands] {
        (void)commands.importFileList([this] {
            return askOpenPath(*this, support::LocalizedString("Choose File to Import"),
                               support::LocalizedString("Choose"), {"txt"});
        });
    });
    on(form.actionOpenItem, &QAction::triggered, [this] { m_table->openItem(); });
    on(form.actionRevealItem, &QAction::triggered, [this] { m_table->revealItem(); });
    m_table->setSelectionActions({form.actionOpenItem, form.actionRevealItem});
    m_table->setListActions({form.actionNumberFiles, form.actionRemoveNumbers, form.actionExportList});
    on(form.actionPreferences, &QAction::triggered, [this] { showPreferences(); });
    on(form.actionQuit, &QAction::triggered, [this] { close(); });
    // Show Viewer shows or hides the viewer, its check mark following the window.
    form.actionViewer->setCheckable(true);
    on(form.actionViewer, &QAction::triggered, [this] { m_viewer->toggle(); });
    connect(m_viewer, &ViewerWindow::visibilityChanged, form.actionViewer, &QAction::setChecked);
    // An item this build has no address for is not shown.
    form.actionHelp->setVisible(app::manualAddress().has_value());
    form.actionWebsite->setVisible(app::productPageAddress().has_value());
    const auto openAddress = [this](const std::optional<QUrl>& address) {
        if (address)
            m_desktop->services.openURL(address->toString());
    };
    on(form.actionHelp, &QAction::triggered, [openAddress] { openAddress(app::manualAddress()); });
    on(form.actionWebsite, &QAction::triggered, [openAddress] { openAddress(app::productPageAddress()); });
    on(form.actionStore, &QAction::triggered, [openAddress] { openAddress(app::softwareCentreAddress()); });
    QAction* softwareUpdate = form.menuHelp->addAction(u'&' + support::LocalizedString("Software Update…"));
    softwareUpdate->setObjectName("actionSoftwareUpdate");
    on(softwareUpdate, &QAction::triggered, [this] {
        m_softwareUpdate->show();
        m_softwareUpdate->raise();
        m_softwareUpdate->activateWindow();
    });
}

// The spinner: Qt's busy animation (a range of 0..0) while files are added or a job runs.
void MainWindow::showBusy(bool busy) {
    m_ui->spinner->setVisible(busy);
    m_ui->spinner->setRange(0, busy ? 0 : 1);
}

void MainWindow::showStatus(const QString& text) {
    m_ui->messagesTextField->show();
    m_ui->messagesTextField->setText(text);
}

// The window names the movie just written, and opens it when "OpenFile" is on.
void MainWindow::showJoined(const app::JoinOutcome& outcome) {
    if (outcome.status != app::JoinOutcome::Status::Written)
        return;
    setWindowFilePath(QFile::decodeName(outcome.path.c_str()));
    setWindowTitle(QFile::decodeName(outcome.path.filename().c_str()));
    std::error_code error;
    if (m_session->defaults().boolValue(support::Pref::OpenFile) && std::filesystem::exists(outcome.path, error))
        m_desktop->services.openFile(outcome.path);
}

void MainWindow::launch() {
    restoreWindowPlacement(*this, *m_ui->movieTable->horizontalHeader(), m_session->defaults());
    // Launch brings the main window to the front before its other steps (the
    // viewer, when it was open at the last exit, then comes in front of it).
    show();
    raise();
    activateWindow();
    m_session->restore();
    // The viewer comes back when it was on screen at the last exit.
    if (m_session->defaults().boolValue(support::Pref::ViewerDisplayed))
        m_viewer->showWindow();
    m_preferences->showOutputFormat();
    if (m_session->defaults().boolValue(support::Pref::CheckForSoftwareUpdates))
        m_softwareUpdate->scheduleAutomaticCheck(std::chrono::seconds(5));
}

void MainWindow::terminate() {
    if (m_terminated)
        return;
    m_terminated = true;
    saveWindowPlacement(*this, *m_ui->movieTable->horizontalHeader(), m_session->defaults());
    m_session->defaults().setValue(support::Pref::ViewerDisplayed, m_viewer->isVisible());
    m_session->save();
}

void MainWindow::endBySignal(int signal) {
    terminate();
    media::endBySignal(signal);
}

bool MainWindow::isBusy() const {
    return m_desktop->drawing.isPumping() || QApplication::activeModalWidget() != nullptr || m_jobs->isRunning();
}

void MainWindow::openDocuments(const std::vector<std::filesystem::path>& paths) {
    if (m_terminated)
        return;
    if (isBusy()) {
        QTimer::singleShot(kBusyRetryMilliseconds, this, [this, paths] { openDocuments(paths); });
        return;
    }
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    m_listCommands->addFiles(paths);
}

void MainWindow::addFiles() {
    runAddFilesPanel(*this, *m_listCommands);
}

void MainWindow::join() {
    if (!m_ui->joinButton->isEnabled())
        return;
    (void)m_writeCommands->join([this](const std::optional<std::filesystem::path>& folder, const QString& name) {
        // No required type: the chosen name may lack an extension, which is added after the write.
        return askSavePath(*this, folder, name, std::nullopt);
    });
}

void MainWindow::exportFiles() {
    if (!m_ui->exportButton->isEnabled())
        return;
    m_writeCommands->exportFiles([this] {
        DialogFolderChooser chooser(this);
        return chooser.chooseFolder(support::LocalizedString("Choose a destination directory for exported files"),
                                    support::LocalizedString("Choose"), QString());
    });
}

void MainWindow::showPreferences() {
    m_preferences->show();
    m_preferences->raise();
    m_preferences->activateWindow();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // While the progress sheet or a dialog is up the window stays: the work
    // under way ends first (the sheet's Cancel stops a write).
    if (isBusy()) {
        event->ignore();
        return;
    }
    terminate();
    event->accept();
    QCoreApplication::quit();
}

} // namespace ui
