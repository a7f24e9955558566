#pragma once

#include "support/Notice.h"
#include "filelist/FileList.h"
#include "filelist/ListRenaming.h"

#include <QObject>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

namespace support {
class Console;
}

namespace app {

// The file list's commands that tell the user something: adding a batch of
// files (what does not open is named once), renaming the files on disk in
// sequence, and the list as a text file. Ordering, titling and removing are
// the list's own (filelist::FileList).
class ListCommands final : public QObject {
    Q_OBJECT
public:
    // Asks the user for a file: where to write the list, or which list to
    // read; none when the user cancelled.
    using AskFile = std::function<std::optional<std::filesystem::path>()>;

    ListCommands(filelist::FileList& list, support::Console& console, QObject* parent = nullptr);

    // Files and folders as one batch (Add Files, files other applications
    // ask us to open); what cannot be taken is named in one notice.
    void addFiles(std::vector<std::filesystem::path> paths);
    // Tells once what the list's last adds (a drop) left out.
    void tellLeftOut();

    // Batch renaming: each file the file system refused is one renameRefused();
    // the status line names them, and the console says why for each.
    [[nodiscard]] filelist::RenameOutcome renameFilesInSequence();
    [[nodiscard]] filelist::RenameOutcome removeFilenamePrefixes();

    // The list as a text file: export asks where and answers whether the file
    // was written; import asks which file and answers whether it was read.
    // A file that cannot be read, or is not UTF-8 text, is told and changes nothing.
    [[nodiscard]] bool exportFileList(const AskFile& askWhere);
    [[nodiscard]] bool importFileList(const AskFile& askWhich);

signals:
    void noticed(const support::Notice& notice);
    void statusChanged(const QString& text);
    void renameRefused();

private:
    [[nodiscard]] support::Tell tell();
    void reportRenames(const filelist::RenameOutcome& outcome);

    filelist::FileList& m_list;
    support::Console& m_console;
};

} // namespace app
