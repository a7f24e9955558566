#include "join/OutputNaming.h"

#include "platform/FileNames.h"
#include "support/FormatText.h"
#include "support/LocalizedString.h"

#include <QFile>
#include <cstdlib>

namespace join {

std::optional<QString> makeDefaultFilename(const std::filesystem::path& item, bool isFolder, int listCount) {
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

std::optional<std::filesystem::path> defaultFilename(const std::optional<std::filesystem::path>& outputFolder,
                                                     const std::optional<QString>& baseName, const QString& extension,
                                                     const QDateTime& now) {
    if (!outputFolder)
        return std::nullopt;
    const QString folder = QFile::decodeName(outputFolder->c_str());
    const QString first = baseName ? support::fillFormat("%@/%@%@", {folder, *baseName, extension})
                                   : support::fillFormat(support::LocalizedString("%@/Untitled%@"), {folder, extension});
    const std::filesystem::path path(QFile::encodeName(first).toStdString());
    std::error_code error;
    if (!std::filesystem::exists(path, error))
        return path;
    // A time stamp against overwriting, "2026-12-06 17.52.01 +0100": the date,
    // the time and the zone offset, with dots where the time has colons.
    const int offset = now.offsetFromUtc();
    const QString zone = QString("%1%2%3")
                             .arg(offset < 0 ? '-' : '+')
                             .arg(std::abs(offset) / 3600, 2, 10, QChar('0'))
                             .arg(std::abs(offset) % 3600 / 60, 2, 10, QChar('0'));
    QString stamp = now.toString("yyyy-MM-dd HH:mm:ss ") + zone;
    stamp.replace(':', '.');
    const QString stamped = baseName ? support::fillFormat("%@/%@-[%@]%@", {folder, *baseName, stamp, extension})
                                     : support::fillFormat("%@/Untitled-[%@]%@", {folder, stamp, extension});
    return std::filesystem::path(QFile::encodeName(stamped).toStdString());
}

QString defaultFilenameWithSaveCount(const std::optional<QString>& baseName, const QString& extension) {
    return baseName.value_or("Untitled") + extension;
}

} // namespace join
