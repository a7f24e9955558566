#include "app/ListCommands.h"

#include "app/ListImportExport.h"
#include "app/RenameReport.h"

namespace app {

ListCommands::ListCommands(filelist::FileList& list, support::Console& console, QObject* parent)
    : QObject(parent), m_list(list), m_console(console) {}

support::Tell ListCommands::tell() {
    return [this](const support::Notice& notice) { emit noticed(notice); };
}

void ListCommands::addFiles(std::vector<std::filesystem::path> paths) {
    if (paths.empty())
        return;
    m_list.addFiles(std::move(paths));
    tellLeftOut();
}

void ListCommands::tellLeftOut() {
    app::tellLeftOut(m_list, tell());
}

filelist::RenameOutcome ListCommands::renameFilesInSequence() {
    filelist::RenameOutcome outcome = filelist::renameFilesInSequence(m_list);
    reportRenames(outcome);
    return outcome;
}

filelist::RenameOutcome ListCommands::removeFilenamePrefixes() {
    filelist::RenameOutcome outcome = filelist::removeFilenamePrefixes(m_list);
    reportRenames(outcome);
    return outcome;
}

// One refusal for each file the file system refused, as for a single rename
// in the table; the status line and the console say which and why.
void ListCommands::reportRenames(const filelist::RenameOutcome& outcome) {
    for (std::size_t i = 0; i < outcome.refused.size(); ++i)
        emit renameRefused();
    emit statusChanged(app::reportRenames(outcome, m_console));
}

bool ListCommands::exportFileList(const AskFile& askWhere) {
    if (m_list.count() == 0) {
        emit noticed({support::Told::Information, "There are no file paths to export.",
                      "Add files to the file list and try again"});
        return false;
    }
    const auto file = askWhere();
    return file && app::exportFileList(m_list, *file, tell(), m_console);
}

bool ListCommands::importFileList(const AskFile& askWhich) {
    const auto file = askWhich();
    return file && app::importFileList(m_list, *file, tell(), m_console);
}

} // namespace app
