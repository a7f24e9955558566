#pragma once

#include "filelist/EntrySort.h"
#include "filelist/LeftOutFiles.h"
#include "filelist/MovieEntry.h"

#include <QByteArray>
#include <QImage>
#include <QObject>
#include <QString>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace support {
class UserDefaults;
}

namespace filelist {

// What a batch rename did, file by file, in list order.
struct RenameOutcome final {
    struct Rename final {
        std::filesystem::path from;
        std::filesystem::path to;
        int error = 0; // the errno of a refusal; 0 when renamed
    };
    std::vector<Rename> renamed;
    // Files that kept their old name because the rename was refused.
    std::vector<Rename> refused;
};

// The ordered list of movie entries (m_movies) and the operations that make,
// refresh, title and remove entries and keep the total-duration line. Its
// order is the order of the join, of the per-file export and of Play All.
// It tells what changed through its signals; the window and the command line
// show it. Main thread only.
class FileList final : public QObject {
    Q_OBJECT
public:
    // Work that other parts of the application do for the list.
    struct Services final {
        // Turns a sound file into a movie when "convertSoundToMovie" is on; none when it cannot.
        std::function<std::shared_ptr<media::Movie>(const std::filesystem::path& soundFile)>
            createMovieFromSoundFile;
        // The preview image of a file at 512 by 512 (support's preview by default).
        std::function<std::optional<QImage>(const std::filesystem::path& file)> previewImage;
    };

    explicit FileList(support::UserDefaults& defaults, Services services = {}, QObject* parent = nullptr);

    const std::vector<MovieEntry>& movies() const { return m_movies; }
    int count() const { return static_cast<int>(m_movies.size()); }

    // Makes one entry from a file and inserts it at index (0 to count). The
    // title is the default one when none is given. When the reference does
    // not resolve or the file does not open, adds nothing and notes the file
    // among leftOut().
    void insertEntry(const QByteArray& alias, int index, const std::optional<QString>& title);
    // Adds files and folders as one batch: files at the top in text order,
    // the files of folders at the end, folders in descending text order.
    // Starts a new leftOut().
    void addFiles(std::vector<std::filesystem::path> paths);
    // Appends the folder's openable files; true when at least one was taken.
    // Visible files that do not open are noted among leftOut(); hidden ones
    // (a folder's thumbnails, its ".hidden") are passed over.
    bool addDirectoryItems(const std::filesystem::path& folder);
    // The files the adds since the last batch or drop began could not take,
    // with why: the window tells the user about them once (leftOutAlert).
    const std::vector<LeftOutFile>& leftOut() const { return m_leftOut; }
    void clearLeftOut() { m_leftOut.clear(); }
    // The default base name of a joined movie, from the item last added
    // (defaultBaseName); none before anything was added.
    const std::optional<QString>& defaultBaseName() const { return m_defaultBaseName; }
    // Names the joined movie after item, just added (a download is added by
    // insertEntry, which does not name it).
    void nameOutputAfter(const std::filesystem::path& item, bool isFolder);

    // Refreshes the metadata of entry `index`: each value that can be
    // obtained, but not its preview (see below).
    void updateMovieInfoAtIndex(int index);
    // Entry `index`'s file was rewritten at `path` while its former contents
    // moved elsewhere (the trash): the entry follows the new file at its
    // name, not the old one, and its values are refreshed.
    void followRewrittenFile(int index, const std::filesystem::path& path);
    void refreshTable();

    // Previews are made only when something shows them (the file table's
    // icon column), never while entries are made: decoding a picture for
    // every added file costs more than everything else an entry needs, and
    // the command line never shows one. The window asks per visible row.
    // Whether entry `index` has no preview yet.
    bool needsPreview(int index) const;
    // Makes entry `index`'s preview now (previewImage) and reloads the table.
    void updatePreviewAtIndex(int index);
    // Stores a preview made elsewhere (on a worker thread, from the path of
    // the entry's reference data): only when entry `index` still holds that
    // reference data, since the list may have changed in the meantime.
    bool setPreviewAtIndex(int index, const QByteArray& alias, QImage preview);

    // The display name of the movie, else the name of its file (`fileBeingAdded`
    // while an entry is made, else entry index's), else "Chapter N".
    QString
    defaultChapterTitleForMovie(const media::Movie& movie, int index,
                                const std::optional<std::filesystem::path>& fileBeingAdded = {}) const;
    void resetChapterTitles();
    void setTitle(int index, const QString& title);

    // Makes the total-duration line again (the desired duration may have
    // changed) and tells totalDurationChanged.
    void updateTotalDuration();
    // The total-duration line under the table; none while it is not shown.
    const std::optional<QString>& totalDuration() const { return m_totalDuration; }

    void clearAll();
    // Removes the entries at these rows (the table's selection).
    void removeRows(std::vector<int> rows);

    // The list in the preferences between runs ("MovieAliases", "ChapterTitles").
    void saveList();
    void restoreList();

    // Ordering (FileListOrdering.cpp): every entry, not only the selected
    // ones; each ends by reloading the table. Nothing else changes: not the
    // selected row numbers, the controls or the total-duration line.
    void sortBy(SortKey key);
    void reverseList();

    // Batch renames (FileListRenaming.cpp), in list order, each file in its
    // own folder; entries whose file cannot be found are passed over. The
    // entries keep their reference data, which finds the renamed files.
    // A rename is never allowed to replace another file: it is refused, and
    // the file keeps its old name.
    // Puts "000001 " (the 1-based list position) in front of every name.
    [[nodiscard]] RenameOutcome renameFilesInSequence();
    // Removes the number prefix (leading digits and the blank after them)
    // from every name that starts with one.
    [[nodiscard]] RenameOutcome removeFilenamePrefixes();

    // The paths of the entries whose files can be found, in list order.
    std::vector<std::filesystem::path> resolvedPaths() const;

    // The path of entry index's file now, or none when it is gone.
    std::optional<std::filesystem::path> pathOfEntry(int index) const;

    // Entry index's open movie, reading its file where it is now: a movie
    // whose file was renamed or moved (by the list's renames or by anyone
    // else) is opened again at the new place, so joins and exports never read
    // a name that is gone. None out of range; the movie as it is when its
    // file cannot be found.
    std::shared_ptr<media::Movie> movieOfEntry(int index);
    // The same for every entry.
    void followMovedFiles();

    // The file table's drops (FileListDrop.cpp).
    // Moves the entries at `rows` (a row drag) together, in their list order,
    // to where the drop was: just above the entry that stood at `dropRow`
    // (or at the end). Answers the rows that now hold the moved entries.
    std::vector<int> moveRows(std::vector<int> rows, int dropRow);
    // Adds dropped files at `row` in text order and the files of dropped
    // folders at the end; true when anything was added. Starts a new leftOut().
    bool processDroppedFiles(std::vector<std::filesystem::path> names, int row);

signals:
    // The entries, their order or their values changed: the table shows them again.
    void changed();
    // A line for the status line ("Created movie: a.mov").
    void statusChanged(const QString& text);
    // Files are being added from a folder or a drop (the window's spinner).
    void busyChanged(bool busy);
    // totalDuration() changed.
    void totalDurationChanged();

private:
    // Adds one file at index (insertEntry); false, noted among leftOut(), when it was not taken.
    bool addFile(const std::filesystem::path& file, int index);
    // Renames each entry's file to newName(position, name) when it answers one.
    RenameOutcome renameEach(
        const std::function<std::optional<std::string>(int position, const std::string& name)>& newName);

    support::UserDefaults& m_defaults;
    Services m_services;
    std::vector<MovieEntry> m_movies;
    std::vector<LeftOutFile> m_leftOut;
    std::optional<QString> m_totalDuration;
    std::optional<QString> m_defaultBaseName;
};

} // namespace filelist
