#include "ui/MainWindow.h"

#include "app/HelpAddresses.h"
#include "app/JoinClipController.h"
#include "media/FilesInProgress.h"
#include "net/DownloadQueue.h"
#include "net/UpdateCheck.h"
#include "platform/ApplicationDockTile.h"
#include "platform/DesktopServices.h"
#include "platform/Preferences.h"
#include "support/LocalizedString.h"
#include "ui/AlertSheets.h"
#include "ui/ApplicationEventPump.h"
#include "ui/DownloadBar.h"
#include "ui/FilePanels.h"
#include "ui/FileChangeQuestion.h"
#include "ui/FileTable.h"
#include "ui/FileTableModel.h"
#include "ui/FolderChooser.h"
#include "ui/LocalizeWidgets.h"
#include "ui/PreferencesWindow.h"
#include "ui/ProgressSheet.h"
#include "ui/SoftwareUpdateWindow.h"
#include "ui/FilterWindow.h"
#include "ui/SplitterWindow.h"
#include "ui/ViewerWindow.h"
#include "ui/WidgetControls.h"
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

// The widgets' ports that the controller holds as its outlets.
struct MainWindow::Ports final {
    explicit Ports(Ui::MainWindow& form, QMainWindow& window)
        : durationTextField(*form.durationTextField), messagesTextField(*form.messagesTextField),
          spinner(*form.spinner), clearButton(*form.clearButton, {form.actionRemove, form.actionClear}),
          joinButton(*form.joinButton, {form.actionJoin}),
          exportButton(*form.exportButton, {form.actionExport}),
          reverseButton(*form.reverseButton, {form.actionReverse}),
          sortButton(*form.sortButton, {form.actionSortByName}),
          titleSortButton(*form.titleSortButton, {form.actionSortByTitle}),
          dateSortButton(*form.dateSortButton, {form.actionSortByModificationDate}),
          createDateSortButton(*form.createDateSortButton, {form.actionSortByCreationDate}),
          exifSortButton(*form.exifSortButton, {form.actionSortByExifDate}), fileListWindow(window),
          savePanel(window), openPanel(window), folderChooser(&window) {}

    LabelTextControl durationTextField;
    LabelTextControl messagesTextField;
    ApplicationEventPump eventPump;
    BusyIndicator spinner;
    ButtonAndActionControl clearButton, joinButton, exportButton;
    ButtonAndActionControl reverseButton, sortButton, titleSortButton, dateSortButton, createDateSortButton,
        exifSortButton;
    WidgetWindow fileListWindow;
    AlertSheets alerts;
    SavePanelDialog savePanel;
    OpenPanelDialog openPanel;
    DialogFolderChooser folderChooser;
    platform::QtDesktopServices desktop;
    platform::ApplicationDockTile dockTile;
};

MainWindow::MainWindow(platform::Preferences& store, QWidget* parent)
    : QMainWindow(parent), m_ui(std::make_unique<Ui::MainWindow>()) {
    m_ui->setupUi(this);
    localizeWidgetTree(*this);
    // Translated buttons may need more room than the English ones the size was made for.
    resize(size().expandedTo(minimumSizeHint()));
    m_ui->movieTable->horizontalHeader()->setStretchLastSection(true);
    m_ui->movieTable->verticalHeader()->hide();

    m_ports = std::make_unique<Ports>(*m_ui, *this);
    m_table = std::make_unique<FileTable>(*m_ui->movieTable);
    m_progressSheet = new ProgressSheet(*this);
    localizeWidgetTree(*m_progressSheet);
    m_preferences = new PreferencesWindow(this);
    m_viewer = new ViewerWindow(this);
    localizeWidgetTree(*m_viewer);
    // The movie filter window, brought to the front from the Window menu.
    auto* filterWindow = new FilterWindow(store, m_ports->desktop, this);
    connect(m_ui->menuWindow->addAction(tr("Movie &Filter"), QKeySequence(tr("Ctrl+Shift+F"))), &QAction::triggered,
            filterWindow, &FilterWindow::showWindow);
    // The movie splitter window, likewise.
    auto* splitterWindow = new SplitterWindow(store, this);
    connect(m_ui->menuWindow->addAction(tr("Movie &Splitter")), &QAction::triggered, splitterWindow,
            &SplitterWindow::showWindow);

    Ports& ports = *m_ports;
    app::MainWindowOutlets outlets;
    app::FileListOutlets& list = outlets.fileList;
    list.movieTable = m_table.get();
    list.durationTextField = &ports.durationTextField;
    list.messagesTextField = &ports.messagesTextField;
    list.eventPump = &ports.eventPump;
    list.spinner = &ports.spinner;
    list.clearButton = &ports.clearButton;
    list.joinButton = &ports.joinButton;
    list.exportButton = &ports.exportButton;
    list.reverseButton = &ports.reverseButton;
    list.sortButton = &ports.sortButton;
    list.titleSortButton = &ports.titleSortButton;
    list.dateSortButton = &ports.dateSortButton;
    list.createDateSortButton = &ports.createDateSortButton;
    list.exifSortButton = &ports.exifSortButton;
    app::JoinCommandOutlets& join = outlets.join;
    join.fileListWindow = &ports.fileListWindow;
    join.alerts = &ports.alerts;
    join.savePanel = &ports.savePanel;
    join.openPanel = &ports.openPanel;
    join.folderChooser = &ports.folderChooser;
    join.desktop = &ports.desktop;
    join.dockTile = &ports.dockTile;
    join.progressSheet = m_progressSheet->outlets();
    m_preferences->fillOutlets(outlets);

    m_controller = std::make_unique<app::JoinClipController>(store, outlets);
    // Writes run on a worker thread; the window shows their progress and stays responsive.
    m_controller->setRunsJobsInBackground(true);
    m_table->attach(*m_controller);
    m_viewer->attach(*m_controller, *m_ui->movieTable);
    m_preferences->attach(*m_controller);
    m_progressSheet->setCancelAction([this] { m_controller->cancelJob(); });
    m_downloads = std::make_unique<DownloadBar>(
        DownloadBar::Widgets{*this, *m_ui->downloadRow, *m_ui->movieDownloadProgressText,
                             *m_ui->movieDownloadProgressBar, *m_ui->movieDownloadCancelButton},
        *m_controller);
    m_table->setMovieDownloadQueue(m_downloads->queue());
    m_softwareUpdate = new SoftwareUpdateWindow(
        net::versionFileAddress(), QStringLiteral(JOINCLIP_VERSION),
        [this](const QString& version) {
            m_controller->doAlert("An update is available for JoinClip (version %@.) Use Software Update in the "
                                  "JoinClip menu to download it.",
                                  "(You can turn off automatic software update checks in Preferences.)", nullptr,
                                  {version});
        },
        this);
    connectCommands();
}

MainWindow::~MainWindow() = default;

void MainWindow::connectCommands() {
    app::JoinClipController& controller = *m_controller;
    Ui::MainWindow& form = *m_ui;
    const auto on = [this](auto* sender, auto signal, auto command) {
        connect(sender, signal, this, command);
    };

    on(form.browseButton, &QPushButton::clicked, [this] { addFiles(); });
    on(form.actionAddFiles, &QAction::triggered, [this] { addFiles(); });
    on(form.clearButton, &QPushButton::clicked, [&controller] { controller.removeSelected(); });
    on(form.actionRemove, &QAction::triggered, [&controller] { controller.removeSelected(); });
    // A cleared list is a new start: the title no longer names the last movie written.
    on(form.actionClear, &QAction::triggered, [this, &controller, title = windowTitle()] {
        controller.fileList().clearAll();
        setWindowFilePath(QString());
        setWindowTitle(title);
    });
    on(form.joinButton, &QPushButton::clicked, [this] { join(); });
    on(form.actionJoin, &QAction::triggered, [this] { join(); });
    on(form.exportButton, &QPushButton::clicked, [this] { exportFiles(); });
    on(form.actionExport, &QAction::triggered, [this] { exportFiles(); });
    // Each ordering button has a menu item twin that runs the same command.
    const auto onButtonAndItem = [&on](QPushButton* button, QAction* item, auto command) {
        on(button, &QPushButton::clicked, command);
        on(item, &QAction::triggered, command);
    };
    onButtonAndItem(form.sortButton, form.actionSortByName,
                    [&controller] { controller.fileList().sortBy(filelist::SortKey::Name); });
    onButtonAndItem(form.titleSortButton, form.actionSortByTitle,
                    [&controller] { controller.fileList().sortBy(filelist::SortKey::Title); });
    onButtonAndItem(form.dateSortButton, form.actionSortByModificationDate,
                    [&controller] { controller.fileList().sortBy(filelist::SortKey::ModificationDate); });
    onButtonAndItem(form.createDateSortButton, form.actionSortByCreationDate,
                    [&controller] { controller.fileList().sortBy(filelist::SortKey::CreationDate); });
    onButtonAndItem(form.exifSortButton, form.actionSortByExifDate,
                    [&controller] { controller.fileList().sortBy(filelist::SortKey::ExifDate); });
    onButtonAndItem(form.reverseButton, form.actionReverse,
                    [&controller] { controller.fileList().reverseList(); });
    // The window reports refused renames through the status line and beeps; the outcome is for callers that
    // list them.
    // Commands that change the user's files on disk ask first (until told not to).
    const auto confirmRenaming = [this, &controller] {
        return confirmFileChange(*this, controller.defaults(),
                                 support::LocalizedString("Rename the listed files on disk?"),
                                 support::LocalizedString("Each file keeps its place; only its name changes."));
    };
    on(form.actionNumberFiles, &QAction::triggered, [&controller, confirmRenaming] {
        if (confirmRenaming())
            (void)controller.renameFilesInSequence();
    });
    on(form.actionRemoveNumbers, &QAction::triggered, [&controller, confirmRenaming] {
        if (confirmRenaming())
            (void)controller.removeFilenamePrefixes();
    });
    m_table->model().confirmRewrite = [this, &controller] {
        return confirmFileChange(
            *this, controller.defaults(), support::LocalizedString("Rewrite the movie's file to the new duration?"),
            support::LocalizedString("The movie is stretched or shortened to the new duration and saved into its "
                                     "own file. The original goes to the trash, where it can be restored."));
    };
    on(form.actionExportList, &QAction::triggered, [&controller] { (void)controller.exportFileList(); });
    on(form.actionImportList, &QAction::triggered, [&controller] { (void)controller.importFileList(); });
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
            m_ports->desktop.openURL(address->toString());
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

    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state == Qt::ApplicationActive)
            m_controller->fileList().followMovedFiles(); // files renamed or moved meanwhile
    });
    // The preferences window shares the main window's notice of becoming key.
    m_preferences->installEventFilter(this);
    // Column switches in the preferences show or hide the table's columns at once.
    connect(m_preferences, &PreferencesWindow::columnsChanged, this,
            [this] { m_table->applyColumnPreferences(); });
}

void MainWindow::launch() {
    m_controller->showFolders();
    restoreWindowPlacement(*this, *m_ui->movieTable->horizontalHeader(), m_controller->defaults());
    // Launch brings the main window to the front before its other steps (the
    // viewer, when it was open at the last exit, then comes in front of it).
    show();
    raise();
    activateWindow();
    m_controller->restoreSession();
    // The viewer comes back when it was on screen at the last exit.
    if (m_controller->defaults().boolValue(support::Pref::ViewerDisplayed))
        m_viewer->showWindow();
    m_preferences->showOutputFormat();
    if (m_controller->defaults().boolValue(support::Pref::CheckForSoftwareUpdates))
        m_softwareUpdate->scheduleAutomaticCheck(std::chrono::seconds(5));
}

void MainWindow::terminate() {
    if (m_terminated)
        return;
    m_terminated = true;
    saveWindowPlacement(*this, *m_ui->movieTable->horizontalHeader(), m_controller->defaults());
    m_controller->defaults().setValue(support::Pref::ViewerDisplayed, m_viewer->isVisible());
    m_controller->saveSession();
}

void MainWindow::endBySignal(int signal) {
    terminate();
    media::endBySignal(signal);
}

bool MainWindow::isBusy() const {
    return m_ports->eventPump.isPumping() || QApplication::activeModalWidget() != nullptr ||
           m_controller->isRunningJob();
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
    m_controller->openDocuments(paths);
}

void MainWindow::addFiles() {
    runAddFilesPanel(*this, *m_controller);
}

void MainWindow::join() {
    if (!m_ui->joinButton->isEnabled())
        return;
    m_controller->join();
}

void MainWindow::exportFiles() {
    if (!m_ui->exportButton->isEnabled())
        return;
    m_controller->exportFiles();
}

void MainWindow::showPreferences() {
    m_preferences->show();
    m_preferences->raise();
    m_preferences->activateWindow();
}

bool MainWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && m_controller)
        m_controller->showFolders();
    return QMainWindow::event(event);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_preferences && event->type() == QEvent::WindowActivate)
        m_controller->showFolders();
    return QMainWindow::eventFilter(watched, event);
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
