#include "ui/FileTableModel.h"

#include "app/ListCommands.h"
#include "app/Session.h"
#include "app/WriteCommands.h"
#include "filelist/LeftOutFiles.h"
#include "filelist/TableCells.h"
#include "filelist/TableDrop.h"
#include "filelist/TableEdits.h"
#include "filelist/TableToolTips.h"
#include "support/FormatText.h"
#include "support/LocalizedString.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDataStream>
#include <QFile>
#include <QIODevice>
#include <QIcon>
#include <QMimeData>
#include <QMimeDatabase>
#include <QPalette>
#include <QPixmap>
#include <QPixmapCache>
#include <QStyle>
#include <QUrl>
#include <set>

namespace ui {

namespace {

// The side of the previews drawn in the Icon column.
constexpr int kIconSide = 32;

// The column headers people read; the identifiers stay what the list knows.
const char* headerTitle(const QString& identifier) {
    if (identifier == "Index")
        return "#";
    if (identifier == "Icon")
        return "Preview";
    if (identifier == "Filename")
        return "File Name";
    return nullptr;
}

// The link title a browser sends with a dragged link: text/x-moz-url is the
// address and the title on two lines in UTF-16; on X11 Qt folds that type
// into the URL list, so _NETSCAPE_URL (the same in UTF-8) and
// text/x-moz-url-desc are read as well.
std::optional<QString> linkTitle(const QMimeData& data) {
    const auto secondLine = [](const QString& text) -> std::optional<QString> {
        const QStringList lines = text.split('\n');
        if (lines.size() < 2 || lines[1].trimmed().isEmpty())
            return std::nullopt;
        return lines[1].trimmed();
    };
    if (data.hasFormat("text/x-moz-url")) {
        const QByteArray bytes = data.data("text/x-moz-url");
        const QString text =
            QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData()), bytes.size() / 2);
        if (auto title = secondLine(text))
            return title;
    }
    if (data.hasFormat("_NETSCAPE_URL"))
        if (auto title = secondLine(QString::fromUtf8(data.data("_NETSCAPE_URL"))))
            return title;
    for (const char* type : {"text/x-moz-url-desc", "public.url-name"})
        if (data.hasFormat(type)) {
            const QString title = QString::fromUtf8(data.data(type)).trimmed();
            if (!title.isEmpty())
                return title;
        }
    return std::nullopt;
}

// The dragged rows, with the process and the table they come from: only
// this table reads them back, since row numbers mean nothing to another list.
QByteArray archiveRows(const void* table, const std::vector<int>& rows) {
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream << quint64(QCoreApplication::applicationPid()) << quint64(reinterpret_cast<quintptr>(table))
           << QList<int>(rows.begin(), rows.end());
    return bytes;
}

std::optional<std::vector<int>> unarchiveRows(const void* table, const QByteArray& bytes) {
    QDataStream stream(bytes);
    quint64 process = 0;
    quint64 origin = 0;
    QList<int> rows;
    stream >> process >> origin >> rows;
    if (stream.status() != QDataStream::Ok || process != quint64(QCoreApplication::applicationPid()) ||
        origin != quint64(reinterpret_cast<quintptr>(table)))
        return std::nullopt;
    return std::vector<int>(rows.begin(), rows.end());
}

// The theme's icon for the file's type (sound files have no picture to
// preview): by its name extension, which costs no read of the file.
QIcon typeIcon(const std::optional<std::filesystem::path>& file) {
    const QIcon fallback = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
    if (!file)
        return fallback;
    const QMimeType type =
        QMimeDatabase().mimeTypeForFile(QFile::decodeName(file->c_str()), QMimeDatabase::MatchExtension);
    return QIcon::fromTheme(type.iconName(), QIcon::fromTheme(type.genericIconName(), fallback));
}

} // namespace

FileTableModel::FileTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void FileTableModel::attach(app::Session& session, app::ListCommands& commands, app::WriteCommands& writes,
                            support::MovieDownloadQueue& downloads) {
    m_session = &session;
    m_commands = &commands;
    m_writes = &writes;
    m_downloads = &downloads;
    reload();
}

bool FileTableModel::reload() {
    // The list does not say where rows came or went, and every cell is asked
    // anew below, so rows are added or taken at the end: the view then keeps
    // its selected row numbers, as a reloaded table does, and a long list
    // growing one row at a time costs no more per row than a short one.
    const int rows = m_session ? m_session->fileList().count() : 0;
    const bool changed = rows != m_rows;
    if (rows > m_rows) {
        beginInsertRows({}, m_rows, rows - 1);
        m_rows = rows;
        endInsertRows();
    } else if (rows < m_rows) {
        beginRemoveRows({}, rows, m_rows - 1);
        m_rows = rows;
        endRemoveRows();
    }
    if (rows > 0)
        emit dataChanged(index(0, 0), index(rows - 1, columnCount() - 1));
    return changed;
}

QString FileTableModel::identifierOfColumn(int column) {
    if (column < 0 || column >= static_cast<int>(filelist::kTableColumns.size()))
        return {};
    return filelist::kTableColumns[static_cast<std::size_t>(column)].identifier;
}

int FileTableModel::columnOfIdentifier(const QString& identifier) {
    for (int column = 0; column < static_cast<int>(filelist::kTableColumns.size()); ++column)
        if (identifier == filelist::kTableColumns[static_cast<std::size_t>(column)].identifier)
            return column;
    return -1;
}

int FileTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int FileTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(filelist::kTableColumns.size());
}

bool FileTableModel::displayFullPath() const {
    return m_session->defaults().boolValue(support::Pref::DisplayFullPath);
}

QVariant FileTableModel::previewCell(int row) const {
    const filelist::FileList& list = m_session->fileList();
    const auto& icon = list.movies()[static_cast<std::size_t>(row)].icon;
    if (!icon) {
        if (onPreviewWanted)
            onPreviewWanted(row);
        return typeIcon(list.pathOfEntry(row)).pixmap(kIconSide, kIconSide);
    }
    // The stored preview is larger than the cell: its scaled copy is kept per image.
    const QString key = QStringLiteral("joinclip-preview-%1").arg(icon->cacheKey());
    QPixmap pixmap;
    if (!QPixmapCache::find(key, &pixmap)) {
        pixmap = QPixmap::fromImage(
            icon->scaled(kIconSide, kIconSide, Qt::KeepAspectRatio, Qt::SmoothTransformation));
        QPixmapCache::insert(key, pixmap);
    }
    return pixmap;
}

QVariant FileTableModel::data(const QModelIndex& index, int role) const {
    if (!m_session || !index.isValid() || index.row() >= m_session->fileList().count())
        return {};
    const QString identifier = identifierOfColumn(index.column());
    const int row = index.row();
    const filelist::FileList& list = m_session->fileList();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        if (identifier == "Icon")
            return {};
        // People read the readable form; an edit starts from the exact one.
        return filelist::objectValueForTableColumn(list, identifier, row, displayFullPath(),
                                                   role == Qt::EditRole ? filelist::CellForm::Exact
                                                                        : filelist::CellForm::Readable);
    case Qt::AccessibleTextRole:
        if (identifier == "Icon")
            return support::fillFormat(support::LocalizedString("Preview of %@"),
                                       {filelist::objectValueForTableColumn(list, "Filename", row, false,
                                                                            filelist::CellForm::Readable)
                                            .toString()});
        return {};
    case Qt::ForegroundRole:
        // A file that cannot be found is shown as unavailable (its name cell
        // only: finding out costs a search of the file system).
        if (identifier == "Filename" && !list.pathOfEntry(row))
            return QApplication::palette().brush(QPalette::Disabled, QPalette::Text);
        return {};
    case Qt::DecorationRole:
        return identifier == "Icon" ? previewCell(row) : QVariant();
    case Qt::ToolTipRole:
        if (auto tip = filelist::toolTipForCell(m_session->fileList(), identifier, row, displayFullPath()))
            return *tip;
        return {};
    case Qt::TextAlignmentRole:
        if (identifier == "Index" || identifier == "Duration" || identifier == "Size")
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

bool FileTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!m_session || !index.isValid() || role != Qt::EditRole)
        return false;
    const QString identifier = identifierOfColumn(index.column());
    // A new duration rewrites the movie's file: a job, whose end reloads the row.
    if (identifier == "Duration" && value.typeId() == QMetaType::QString) {
        if (confirmRewrite && !confirmRewrite())
            return false;
        m_writes->rescaleEntry(index.row(), value.toString());
    } else if (const auto refused =
                   filelist::setObjectValueForTableColumn(m_session->fileList(), identifier, index.row(), value)) {
        emit noticed(*refused);
    }
    reload();
    return true;
}

QVariant FileTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal)
        return {};
    const QString identifier = identifierOfColumn(section);
    if (identifier.isEmpty())
        return {};
    if (role == Qt::DisplayRole) {
        const char* title = headerTitle(identifier);
        return support::LocalizedString(title ? QString::fromLatin1(title) : identifier);
    }
    if (role == Qt::ToolTipRole && identifier == "Index")
        return support::LocalizedString("Position in the list");
    return {};
}

Qt::ItemFlags FileTableModel::flags(const QModelIndex& index) const {
    // Drops go between rows or below the last one, never onto a row.
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
    if (filelist::isEditableColumn(identifierOfColumn(index.column())))
        flags |= Qt::ItemIsEditable;
    return flags;
}

QStringList FileTableModel::mimeTypes() const {
    return {filelist::kPrivateRowDragType,
            "text/uri-list",
            "text/x-moz-url",
            "_NETSCAPE_URL",
            "public.url-name",
            "text/plain"};
}

QMimeData* FileTableModel::mimeData(const QModelIndexList& indexes) const {
    std::set<int> rows;
    for (const QModelIndex& index : indexes)
        if (index.isValid())
            rows.insert(index.row());
    auto* data = new QMimeData;
    data->setData(filelist::kPrivateRowDragType, archiveRows(this, {rows.begin(), rows.end()}));
    return data;
}

filelist::DroppedItems FileTableModel::droppedItems(const QMimeData& data) const {
    filelist::DroppedItems items;
    if (data.hasFormat(filelist::kPrivateRowDragType))
        items.draggedRows = unarchiveRows(this, data.data(filelist::kPrivateRowDragType));
    for (const QUrl& url : data.urls()) {
        if (url.isLocalFile())
            items.fileNames.emplace_back(QFile::encodeName(url.toLocalFile()).toStdString());
        else if (!items.urlText && url.isValid())
            items.urlText = url.toString();
    }
    if (data.hasText() && items.fileNames.empty())
        items.plainText = data.text();
    items.urlName = linkTitle(data);
    return items;
}

bool FileTableModel::canDropMimeData(const QMimeData* data, Qt::DropAction, int, int,
                                     const QModelIndex& parent) const {
    if (!m_session || !data)
        return false;
    return filelist::validateDrop(droppedItems(*data), parent.isValid());
}

bool FileTableModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                                  const QModelIndex& parent) {
    if (!canDropMimeData(data, action, row, column, parent))
        return false;
    const filelist::DroppedItems items = droppedItems(*data);
    const int dropRow = row < 0 ? m_session->fileList().count() : row;
    const filelist::DropOutcome outcome =
        filelist::acceptDrop(m_session->fileList(), items, dropRow, *m_downloads);
    reload();
    if (!items.fileNames.empty())
        m_commands->tellLeftOut();
    if (outcome.accepted && items.draggedRows && onRowsMoved)
        onRowsMoved(outcome.rowsToSelect);
    return outcome.accepted;
}

Qt::DropActions FileTableModel::supportedDropActions() const {
    return Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
}

Qt::DropActions FileTableModel::supportedDragActions() const {
    return Qt::MoveAction;
}

} // namespace ui
