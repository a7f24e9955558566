#pragma once

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
#include <utility>
#include <vector>

namespace support {
class UserDefaults;
}

namespace filelist {

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
    };

    explicit FileList(support::UserDefaults& defaults, Services services = {}, QObject* parent = nullptr);

    const std::vector<MovieEntry>& movies() const { return m_movies; }
    int count() const { return static_cast<int>(m_movies.size()); }

    // Makes one entry from a file and inserts it at index (0 to count). The
    // title is the default one when none is given. When the reference does
    // not resolve or the file does not open, adds nothing and notes the file
    // among the files left out (takeLeftOut).
    void insertEntry(const QByteArray& alias, int index, const std::optional<QString>& title);
    // Adds files and folders as one batch: files at the top in text order,
    // the files of folders at the end, folders in descending text order.
    // Starts a new count of the files left out (takeLeftOut).
    void addFiles(std::vector<std::filesystem::path> paths);
    // Appends the folder's openable files; true when at least one was taken.
    // Visible files that do not open are noted among the files left out
    // (takeLeftOut); hidden ones
    // (a folder's thumbnails, its ".hidden") are passed over.
    bool addDirectoryItems(const std::filesystem::path& folder);
    // The files the adds since the last batch or drop began could not take,
    // with why, and a new count begun: the window tells the user about them
    // once (leftOutAlert).
    [[nodiscard]] std::vector<LeftOutFile> takeLeftOut() { return std::exchange(m_leftOut, {}); }
    // The default base name of a joined movie, from the item last added
    // (defaultBaseName); none before anything was added.
    const std::optional<QString>& defaultBaseName() const { return m_defaultBaseName; }
    // Names the joined movie after item, just added (a download is added by
    // insertEntry, which does not name it).
    void nameOutputAfter(const std::filesystem::path& item, bool isFolder);

    // Refreshes the metadata of entry `index`: each value that can be
    // obtained, but not its preview (see below). With rewrittenAt, the
    // entry's file was rewritten there while its former contents moved
    // elsewhere (the trash): the entry follows the new file at its name, not
    // the old one.
    void updateMovieInfoAtIndex(int index, const std::optional<std::filesystem::path>& rewrittenAt = {});

    // Previews are made only when something shows them (the file table's
    // icon column, on a worker thread), never while entries are made:
    // decoding a picture for every added file costs more than everything else
    // an entry needs, and the command line never shows one. This stores one
    // made from the path of the entry's reference data: only when entry
    // `index` still holds that reference data (the list may have changed in
    // the meantime) and has no preview yet.
    bool setPreviewAtIndex(int index, const QByteArray& alias, QImage preview);

    // Changes the entries in place through change: their order and titles,
    // never which files they are (adding and removing have their own
    // commands, which also keep the total-duration line). Tells changed().
    // The list's orderings and edits (ListEdits.h) are made with it.
    void changeEntries(const std::function<void(std::vector<MovieEntry>& entries)>& change);

    // Makes the total-duration line again (the desired duration may have
    // changed) and tells totalDurationChanged.
    void updateTotalDuration();
    // The total-duration line under the table; none while it is not shown.
    const std::optional<QString>& totalDuration() const { return m_totalDuration; }

    // Removes the entries at these rows (the table's selection).
    void removeRows(std::vector<int> rows);

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

    // The file table's drop of files (FileListDrop.cpp; a row drag is ListEdits.h's moveRows).
    // Adds dropped files at `row` in text order and the files of dropped
    // folders at the end; true when anything was added. Starts a new count of
    // the files left out (takeLeftOut).
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
    void removeAll();
    // Adds one file at index (insertEntry); false, noted among the files left
    // out, when it was not taken.
    bool addFile(const std::filesystem::path& file, int index);

    support::UserDefaults& m_defaults;
    Services m_services;
    std::vector<MovieEntry> m_movies;
    std::vector<LeftOutFile> m_leftOut;
    std::optional<QString> m_totalDuration;
    std::optional<QString> m_defaultBaseName;
};

// The default title of an entry: the movie's display name, else the name of
// its file, else "Chapter N" (N = index + 1).
[[nodiscard]] QString defaultChapterTitle(const media::Movie& movie, int index,
                                          const std::optional<std::filesystem::path>& file);

} // namespace filelist
