#include "ui/FileTable.h"

#include "app/Session.h"
#include "filelist/EntryFiles.h"
#include "filelist/TableCells.h"
#include "platform/DesktopServices.h"
#include "support/FormatText.h"
#include "support/LocalizedString.h"
#include "support/MovieDownloadQueue.h"
#include "ui/FileTableModel.h"
#include "ui/FileTablePreviews.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenu>
#include <QTableView>
#include <QTimer>
#include <algorithm>

namespace ui {

namespace {

// Column widths at start, in table order. File Name and Title share what
// the others leave, so the table fits its window without a scroll bar.
constexpr int kColumnWidths[] = {36, 52, 0, 0, 80, 130, 130, 76, 130};
constexpr int kStretchedColumns[] = {2, 3};
// Row heights with and without the previews of the Icon column.
constexpr int kRowHeightWithIcons = 36;
constexpr int kRowHeightWithoutIcons = 20;

} // namespace

// The table's state; it is also the download queue the model hands web
// addresses to, forwarding them to the real queue once one is given.
struct FileTable::State final : public support::MovieDownloadQueue {
    app::Session* session = nullptr;
    platform::DesktopServices* desktop = nullptr;
    FileTableModel model;
    std::unique_ptr<FileTablePreviews> previews;
    std::function<std::optional<QImage>(const std::filesystem::path&)> previewMaker;
    support::MovieDownloadQueue* downloads = nullptr;
    QMenu menu;
    QLabel* emptyHint = nullptr;
    QList<QAction*> selectionActions;
    QList<QAction*> listActions;
    // Keeps the hint over the whole viewport as it is resized.
    struct HintPlacer final : public QObject {
        QLabel* hint = nullptr;
        bool eventFilter(QObject* watched, QEvent* event) override {
            if (hint && event->type() == QEvent::Resize)
                hint->setGeometry(static_cast<QWidget*>(watched)->rect().adjusted(24, 24, -24, -24));
            return false;
        }
    } hintPlacer;
    QAction* openAction = nullptr;
    QAction* revealAction = nullptr;
    QAction* removeAction = nullptr;
    // For bench/add-files only: JOINCLIP_QUIT_AT_ROWS=N ends the program once
    // the table shows N rows, so adding files in the window can be timed.
    int quitAtRows = qEnvironmentVariableIntValue("JOINCLIP_QUIT_AT_ROWS");

    void enqueueMovieURL(const QString& address, const std::optional<QString>& linkTitle) override {
        if (downloads) {
            downloads->enqueueMovieURL(address, linkTitle);
            return;
        }
        emit model.statusChanged(support::fillFormat(
            support::LocalizedString("Downloading from the web is not available yet: %@"), {address}));
    }
};

FileTable::FileTable(QTableView& view) : m_view(view), m_state(std::make_unique<State>()) {
    m_view.setModel(&m_state->model);
    m_view.setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view.setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_view.setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::SelectedClicked);
    m_view.setDragEnabled(true);
    m_view.setAcceptDrops(true);
    m_view.viewport()->setAcceptDrops(true);
    m_view.setDropIndicatorShown(true);
    m_view.setDragDropMode(QAbstractItemView::DragDrop);
    m_view.setDragDropOverwriteMode(false);
    m_view.setDefaultDropAction(Qt::MoveAction);
    m_view.setShowGrid(false);
    m_view.setAlternatingRowColors(true);
    m_view.setWordWrap(false);
    m_view.setIconSize(QSize(32, 32));
    m_view.setTextElideMode(Qt::ElideMiddle);
    m_view.verticalHeader()->hide();
    m_view.verticalHeader()->setDefaultSectionSize(kRowHeightWithIcons);
    // Fixed widths: sizing columns to their contents would read every row on each change of the list.
    QHeaderView& header = *m_view.horizontalHeader();
    header.setSectionResizeMode(QHeaderView::Interactive);
    header.setStretchLastSection(false);
    header.setHighlightSections(false);
    for (int column = 0; column < static_cast<int>(std::size(kColumnWidths)); ++column)
        header.resizeSection(column, kColumnWidths[column]);
    for (int column : kStretchedColumns)
        header.setSectionResizeMode(column, QHeaderView::Stretch);
    header.setMinimumSectionSize(24);
    m_view.setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // Tab goes on to the window's next control, as everywhere else; the arrow keys move in the table.
    m_view.setTabKeyNavigation(false);
    if (m_view.accessibleName().isEmpty())
        m_view.setAccessibleName(support::LocalizedString("Files to join"));

    // What an empty list is for, in its middle; it lets drops through to the table.
    auto* hint = new QLabel(
        support::LocalizedString("Drop movies, pictures and sound files here, or choose Add Files\u2026"),
        m_view.viewport());
    hint->setObjectName("emptyListHint");
    hint->setAlignment(Qt::AlignCenter);
    hint->setWordWrap(true);
    hint->setAttribute(Qt::WA_TransparentForMouseEvents);
    hint->setForegroundRole(QPalette::PlaceholderText);
    m_state->emptyHint = hint;
    m_view.viewport()->installEventFilter(&m_state->hintPlacer);
    m_state->hintPlacer.hint = hint;
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        QObject::connect(&m_state->model, signal, hint, [this] {
            updateEmptyHint();
            updateActions();
        });
    QObject::connect(m_view.selectionModel(), &QItemSelectionModel::selectionChanged, hint,
                     [this] { updateActions(); });
    updateEmptyHint();

    m_state->openAction = m_state->menu.addAction(support::LocalizedString("Open"));
    m_state->openAction->setObjectName("openItemAction");
    m_state->revealAction = m_state->menu.addAction(support::LocalizedString("Show in Folder"));
    m_state->revealAction->setObjectName("revealItemAction");
    m_state->menu.addSeparator();
    m_state->removeAction = m_state->menu.addAction(support::LocalizedString("Remove from List"));
    m_state->removeAction->setObjectName("removeItemAction");
    QObject::connect(m_state->openAction, &QAction::triggered, [this] { openItem(); });
    QObject::connect(m_state->revealAction, &QAction::triggered, [this] { revealItem(); });
    QObject::connect(m_state->removeAction, &QAction::triggered, [this] { removeSelected(); });

    // The menu acts on the row under the pointer, which becomes the selection.
    m_view.setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(&m_view, &QWidget::customContextMenuRequested, [this](const QPoint& position) {
        const QModelIndex index = m_view.indexAt(position);
        if (index.isValid()) {
            m_view.selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                                QItemSelectionModel::Rows);
        }
        const bool selected = !selectedRows().empty();
        for (QAction* action : {m_state->openAction, m_state->revealAction, m_state->removeAction})
            action->setEnabled(selected && m_state->session);
        m_state->menu.popup(m_view.viewport()->mapToGlobal(position));
    });
    // A double click edits an editable cell and opens the file from the others.
    QObject::connect(&m_view, &QAbstractItemView::doubleClicked, [this](const QModelIndex& index) {
        if (!(m_state->model.flags(index) & Qt::ItemIsEditable))
            doubleAction();
    });

    m_state->model.onRowsMoved = [this](const std::vector<int>& rows) {
        QItemSelection selection;
        for (int row : rows)
            selection.select(m_state->model.index(row, 0),
                             m_state->model.index(row, m_state->model.columnCount() - 1));
        m_view.selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    };
}

FileTable::~FileTable() {
    // The workers finish before the list they were reading for can go.
    m_state->model.onPreviewWanted = nullptr;
    m_state->previews.reset();
}

void FileTable::attach(app::Session& session, app::ListCommands& commands, app::WriteCommands& writes,
                       platform::DesktopServices& desktop) {
    m_state->session = &session;
    m_state->desktop = &desktop;
    QObject::connect(&session.fileList(), &filelist::FileList::changed, &m_state->model, [this] { reloadData(); });
    m_state->previews = std::make_unique<FileTablePreviews>(session.fileList());
    if (m_state->previewMaker)
        m_state->previews->setPreviewMaker(m_state->previewMaker);
    m_state->model.onPreviewWanted = [previews = m_state->previews.get()](int row) {
        previews->request(row);
    };
    m_state->model.attach(session, commands, writes, *m_state);
    updateEmptyHint();
    applyColumnPreferences();
}

FileTableModel& FileTable::model() {
    return m_state->model;
}

void FileTable::updateEmptyHint() {
    if (m_state->emptyHint)
        m_state->emptyHint->setVisible(m_state->model.rowCount() == 0);
}

void FileTable::setSelectionActions(QList<QAction*> actions) {
    m_state->selectionActions = std::move(actions);
    updateActions();
}

void FileTable::setListActions(QList<QAction*> actions) {
    m_state->listActions = std::move(actions);
    updateActions();
}

void FileTable::updateActions() {
    const bool selected = !selectedRows().empty();
    for (QAction* action : m_state->selectionActions)
        action->setEnabled(selected);
    const bool entries = m_state->model.rowCount() > 0;
    for (QAction* action : m_state->listActions)
        action->setEnabled(entries);
}

void FileTable::reloadData() {
    m_state->model.reload();
    if (m_state->quitAtRows > 0 && m_state->model.rowCount() >= m_state->quitAtRows) {
        m_state->quitAtRows = 0;
        QTimer::singleShot(0, QCoreApplication::instance(), &QCoreApplication::quit);
    }
}

std::vector<int> FileTable::selectedRows() const {
    std::vector<int> rows;
    if (const auto* selection = m_view.selectionModel())
        for (const QModelIndex& index : selection->selectedRows())
            rows.push_back(index.row());
    std::ranges::sort(rows);
    return rows;
}

void FileTable::applyColumnPreferences() {
    if (!m_state->session)
        return;
    support::UserDefaults& defaults = m_state->session->defaults();
    bool iconShown = true;
    for (std::size_t column = 0; column < filelist::kTableColumns.size(); ++column) {
        const filelist::TableColumn& entry = filelist::kTableColumns[column];
        const bool hidden = defaults.isPresent(entry.preference) && !defaults.boolValue(entry.preference);
        m_view.setColumnHidden(static_cast<int>(column), hidden);
        if (QString(entry.identifier) == "Icon")
            iconShown = !hidden;
    }
    m_view.verticalHeader()->setDefaultSectionSize(iconShown ? kRowHeightWithIcons : kRowHeightWithoutIcons);
}

void FileTable::setMovieDownloadQueue(support::MovieDownloadQueue& queue) {
    m_state->downloads = &queue;
}

void FileTable::setPreviewMaker(std::function<std::optional<QImage>(const std::filesystem::path&)> maker) {
    m_state->previewMaker = maker;
    if (m_state->previews)
        m_state->previews->setPreviewMaker(std::move(maker));
}

bool FileTable::previewsPending() const {
    return m_state->previews && m_state->previews->isBusy();
}

void FileTable::doubleAction() {
    openItem();
}

// Open and Reveal act on the last selected row's file (the File menu's items run them too).
std::optional<std::filesystem::path> FileTable::selectedFile() const {
    const std::vector<int> rows = selectedRows();
    if (rows.empty() || !m_state->session)
        return std::nullopt;
    return m_state->session->fileList().pathOfEntry(rows.back());
}

void FileTable::openItem() {
    std::error_code error;
    if (const auto file = selectedFile(); file && std::filesystem::exists(*file, error))
        m_state->desktop->openFile(*file);
}

void FileTable::revealItem() {
    if (const auto file = selectedFile())
        m_state->desktop->revealFile(*file);
}

void FileTable::removeSelected() {
    if (m_state->session)
        m_state->session->fileList().removeRows(selectedRows());
}

} // namespace ui
