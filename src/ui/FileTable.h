#pragma once

#include <QImage>
#include <QList>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QTableView;
class QWidget;

namespace app {
class ListCommands;
class Session;
class WriteCommands;
} // namespace app
namespace platform {
class DesktopServices;
}
namespace support {
class MovieDownloadQueue;
}

namespace ui {

class FileTableModel;

// The main window's file table: the list's rows in a QTableView, with edits,
// drag and drop, previews and the context menu. It follows the session's
// file list from attach on, and acts through the list and its commands.
class FileTable final {
public:
    explicit FileTable(QTableView& view);
    ~FileTable();

    // From now on the table shows the session's file list: a typed duration
    // is rescaled by writes, what a drop leaves out is told by commands, and
    // Open and Show in Folder go to desktop.
    void attach(app::Session& session, app::ListCommands& commands, app::WriteCommands& writes,
                platform::DesktopServices& desktop);

    // The list changed: the rows show it again.
    void reloadData();
    // The selected rows, ascending.
    std::vector<int> selectedRows() const;

    // Shows and hides the columns by their preference keys ("IndexColumn",
    // ...: a key present and false hides its column); without the Icon column
    // rows are 20 pixels high. Done at attach; the preferences window calls it
    // again when a column is switched.
    void applyColumnPreferences();

    // Actions that act on the selected entries (Open, Show in File Manager,
    // Remove) are enabled only while a row is selected; those that act on
    // the whole list (Number Files, Export List) only while it holds entries.
    void setSelectionActions(QList<QAction*> actions);
    void setListActions(QList<QAction*> actions);

    // Where dropped web addresses go. Until a queue is given, the address is
    // told in the status line.
    void setMovieDownloadQueue(support::MovieDownloadQueue& queue);
    // What the background workers make a preview with (support's preview by default).
    void setPreviewMaker(std::function<std::optional<QImage>(const std::filesystem::path& file)> maker);
    // Whether previews are still being made in the background.
    bool previewsPending() const;

    // The commands on the selected entry: the double click and the context
    // menu's Open, Reveal and Remove.
    void doubleAction();
    void openItem();
    void revealItem();
    // The file of the last selected row, when there is one.
    std::optional<std::filesystem::path> selectedFile() const;
    void removeSelected();

    FileTableModel& model();

private:
    // Shows the empty list's hint while the list is empty, and enables the
    // actions that need entries or a selection.
    void updateEmptyHint();
    void updateActions();

    struct State;
    QTableView& m_view;
    std::unique_ptr<State> m_state;
};

// The Add command's browse panel: files and folders chosen are added to the
// list as one batch (files at the top in text order, the files directly
// inside chosen folders at the end). parent is the window the panel belongs to.
void runAddFilesPanel(QWidget& parent, app::ListCommands& commands);

} // namespace ui
