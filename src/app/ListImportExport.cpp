#include "app/ListImportExport.h"
#include "filelist/EntryFiles.h"

#include "filelist/FileList.h"
#include "filelist/LeftOutFiles.h"
#include "filelist/ListTextFile.h"
#include "support/Console.h"

#include <QFile>

namespace app {

namespace {

QString nameOf(const std::filesystem::path& path) {
    return QFile::decodeName(path.filename().c_str());
}

QString pathText(const std::filesystem::path& path) {
    return QFile::decodeName(path.c_str());
}

} // namespace

bool importFileList(filelist::FileList& list, const std::filesystem::path& file, const support::Tell& tell,
                    support::Console& console) {
    auto paths = filelist::loadFileList(file);
    if (!paths) {
        console.writeLine(QString("Could not import \"%1\": %2")
                              .arg(pathText(file), QString::fromStdString(paths.error().message)));
        if (paths.error().code == 0)
            tell({support::Told::Failure, "The file \"%@\" is not a file list.",
                 "A file list is UTF-8 text, one file path per line.", {nameOf(file)}});
        else
            tell({support::Told::Failure, "The file \"%@\" could not be read.", "%@", {nameOf(file)},
                 {QString::fromStdString(paths.error().message)}});
        return false;
    }
    if (!paths->empty()) { // an empty file is a list with nothing in it
        list.addFiles(std::move(*paths));
        tellLeftOut(list, tell);
    }
    return true;
}

bool exportFileList(const filelist::FileList& list, const std::filesystem::path& file, const support::Tell& tell,
                    support::Console& console) {
    const filelist::ListText text = filelist::fileListText(filelist::resolvedPaths(list));
    if (const auto written = filelist::writeFileList(file, text.bytes); !written) {
        tell({support::Told::Failure, "The paths were NOT exported.", "%@", {},
              {QString::fromStdString(written.error().message)}});
        return false;
    }
    // A path with a line break would come back as two lines, and one that is
    // not UTF-8 would make the whole file unreadable: they are left out, and said so.
    if (!text.leftOut.empty()) {
        for (const auto& path : text.leftOut)
            console.writeLine(QString("Not exported (a line break or bytes that are not UTF-8 in its path): %1")
                                  .arg(pathText(path)));
        tell({support::Told::Failure, "%d of the file paths could not be exported.",
             "A path that holds a line break or is not UTF-8 text cannot be written to a file list.",
             {QString::number(text.leftOut.size())}});
    }
    return true;
}

void tellLeftOut(filelist::FileList& list, const support::Tell& tell) {
    const auto alert = filelist::leftOutAlert(list.takeLeftOut());
    if (alert)
        tell({support::Told::Information, "%@", "%@", {alert->message}, {alert->informative}});
}

} // namespace app
