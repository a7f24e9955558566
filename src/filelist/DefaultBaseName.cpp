#include "filelist/DefaultBaseName.h"

#include "platform/FileNames.h"
#include "support/LocalizedString.h"

#include <QFile>

namespace filelist {

std::optional<QString> defaultBaseName(const std::filesystem::path& item, bool isFolder, int listCount) {
    std::filesystem::path name = item.filename();
    if (name.empty())
        name = item.parent_path().filename(); // a folder given with a trailing slash
    if (name.empty())
        return std::nullopt;
    QString base = QFile::decodeName(name.c_str());
    if (const auto extension = platform::CopyNameExtension(item))
        base.chop(extension->size() + 1);
    if (!isFolder) {
        const int others = listCount - 1;
        base += support::LocalizedString(" and ") + QString::number(others) +
                support::LocalizedString(listCount == 2 ? " other" : " others");
    }
    return base;
}

} // namespace filelist
