// Ordering the list, renaming its files in sequence, and the list as a text file.

#include "app/JoinClipController.h"
#include "support/DoAlert.h"
#include "filelist/LeftOutFiles.h"
#include "filelist/ListTextFile.h"
#include "support/FormatText.h"
#include "support/LocalizedString.h"

#include <QFile>
#include <cstring>

namespace app {

namespace {

QString nameOf(const std::filesystem::path& path) {
    return QFile::decodeName(path.filename().c_str());
}

QString pathText(const std::filesystem::path& path) {
    return QFile::decodeName(path.c_str());
}

} // namespace

void JoinClipController::dateSortListButtonClicked() {
    m_movies.sortBy(filelist::SortKey::ModificationDate);
}

void JoinClipController::createDateSortListButtonClicked() {
    m_movies.sortBy(filelist::SortKey::CreationDate);
}

void JoinClipController::exifDateSortListButtonClicked() {
    m_movies.sortBy(filelist::SortKey::ExifDate);
}

void JoinClipController::titleSortListButtonClicked() {
    m_movies.sortBy(filelist::SortKey::Title);
}

void JoinClipController::finderSortListButtonClicked() {
    m_movies.sortBy(filelist::SortKey::Path);
}

void JoinClipController::reverseListButtonClicked() {
    m_movies.reverseList();
}

filelist::RenameOutcome JoinClipController::renameFilesInSequence() {
    filelist::RenameOutcome outcome = m_movies.renameFilesInSequence();
    reportRefusedRenames(outcome);
    return outcome;
}

filelist::RenameOutcome JoinClipController::removeFilenamePrefixes() {
    filelist::RenameOutcome outcome = m_movies.removeFilenamePrefixes();
    reportRefusedRenames(outcome);
    return outcome;
}

// The status line says how many files were renamed; a beep for each file the
// file system refused, as for a single rename in the table. A beep alone does
// not say which files kept their names, so the status line names them and
// the console gives each reason.
void JoinClipController::reportRefusedRenames(const filelist::RenameOutcome& outcome) {
    const auto count = static_cast<int>(outcome.renamed.size());
    QString line = count == 1 ? support::LocalizedString("1 file was renamed.")
                              : support::fillFormat(support::LocalizedString("%d files were renamed."),
                                                    {QString::number(count)});
    QStringList names;
    for (const filelist::RenameOutcome::Rename& rename : outcome.refused) {
        m_outlets.join.alerts->beep();
        names << nameOf(rename.from);
        console().writeLine(QString("Could not rename \"%1\" to \"%2\": %3")
                                .arg(pathText(rename.from), nameOf(rename.to),
                                     QString::fromLocal8Bit(std::strerror(rename.error))));
    }
    if (names.size() == 1)
        line += u' ' + support::fillFormat(support::LocalizedString("This file was not renamed: %@"), names);
    else if (names.size() > 1)
        line += u' ' + support::fillFormat(support::LocalizedString("These files were not renamed: %@"),
                                           {names.join(", ")});
    message(line);
}

bool JoinClipController::exportFileList() {
    if (m_movies.count() == 0) {
        doAlert("There are no file paths to export.", "Add files to the file list and try again", nullptr);
        return false;
    }
    const auto file =
        m_outlets.join.savePanel->runSavePanel(std::nullopt, "JoinClip File List Export", ".txt");
    if (!file)
        return false;
    const filelist::ListText text = filelist::fileListText(m_movies.resolvedPaths());
    if (!filelist::writeFileList(*file, text.bytes)) {
        support::doErrorAlert(*m_outlets.join.alerts, "The paths were NOT exported.", " ", nullptr);
        return false;
    }
    // A path with a line break would come back as two lines, and one that is
    // not UTF-8 would make the whole file unreadable: they are left out, and said so.
    if (!text.leftOut.empty()) {
        for (const auto& path : text.leftOut)
            console().writeLine(
                QString("Not exported (a line break or bytes that are not UTF-8 in its path): %1")
                    .arg(pathText(path)));
        support::doErrorAlert(*m_outlets.join.alerts, "%d of the file paths could not be exported.",
                "A path that holds a line break or is not UTF-8 text cannot be written to a file list.",
                nullptr, {QString::number(text.leftOut.size())});
    }
    return true;
}

bool JoinClipController::importFileList() {
    if (!m_outlets.join.openPanel)
        return false;
    const auto file = m_outlets.join.openPanel->runOpenPanel(
        support::LocalizedString("Choose File to Import"), support::LocalizedString("Choose"), {"txt"});
    if (!file)
        return false;
    auto paths = filelist::loadFileList(*file);
    if (!paths) {
        console().writeLine(QString("Could not import \"%1\": %2")
                                .arg(pathText(*file), QString::fromStdString(paths.error().message)));
        if (paths.error().code == 0)
            support::doErrorAlert(*m_outlets.join.alerts, "The file \"%@\" is not a file list.",
                    "A file list is UTF-8 text, one file path per line.", nullptr, {nameOf(*file)});
        else
            support::doErrorAlert(*m_outlets.join.alerts, "The file \"%@\" could not be read.", "%@", nullptr, {nameOf(*file)},
                    {QString::fromStdString(paths.error().message)});
        return false;
    }
    if (!paths->empty()) { // an empty file is a list with nothing in it
        m_movies.joinClips(std::move(*paths));
        filelist::tellLeftOut(m_movies, *m_outlets.join.alerts, nullptr);
    }
    return true;
}

} // namespace app
