#pragma once

#include "support/Notice.h"

#include <QAbstractTableModel>
#include <functional>
#include <vector>

namespace app {
class ListCommands;
class Session;
class WriteCommands;
} // namespace app
namespace filelist {
struct DroppedItems;
}
namespace support {
class MovieDownloadQueue;
}

namespace ui {

// The file list as the rows of the file table: one row per movie entry, the
// nine columns of the list in their order (the view hides the ones switched
// off). Cells, tooltips, edits and drops are answered by the list's own
// rules (filelist/TableCells, TableToolTips, TableEdits, TableDrop); this
// class only translates between them and Qt's model and MIME hooks.
class FileTableModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit FileTableModel(QObject* parent = nullptr);

    // From now on the rows are the session's list; what a drop leaves out is
    // told by commands, and a typed duration is rescaled by writes.
    void attach(app::Session& session, app::ListCommands& commands, app::WriteCommands& writes,
                support::MovieDownloadQueue& downloads);
    // The list changed: rows are added or removed at the end to the new count,
    // and every cell is asked anew. Answers whether the count changed.
    bool reload();

    // The column's identifier ("Index", "Icon", "Filename", ...), empty outside the table.
    static QString identifierOfColumn(int column);
    static int columnOfIdentifier(const QString& identifier);

    // Asked for an Icon cell whose entry has no preview yet (as its row comes into view).
    std::function<void(int row)> onPreviewWanted;
    // Asked before a typed duration rewrites a movie's file: whether to go on (unset: go on).
    std::function<bool()> confirmRewrite;
    // After a row drag: the rows that now hold the moved entries.
    std::function<void(const std::vector<int>& rows)> onRowsMoved;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                         const QModelIndex& parent) const override;
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;
    Qt::DropActions supportedDropActions() const override;
    Qt::DropActions supportedDragActions() const override;

    // What a drag holds, as the list's drop rules read it.
    filelist::DroppedItems droppedItems(const QMimeData& data) const;

signals:
    // A typed file name was refused.
    void noticed(const support::Notice& notice);
    // A line for the status line.
    void statusChanged(const QString& text);

private:
    QVariant previewCell(int row) const;
    bool displayFullPath() const;

    app::Session* m_session = nullptr;
    app::ListCommands* m_commands = nullptr;
    app::WriteCommands* m_writes = nullptr;
    support::MovieDownloadQueue* m_downloads = nullptr;
    int m_rows = 0;
};

} // namespace ui
