#include "filelist/LeftOutFiles.h"

#include "platform/TextOrder.h"
#include "support/FormatText.h"
#include "support/LocalizedString.h"

#include <QFile>
#include <QStringList>

namespace filelist {

namespace {

// More names than this make an alert taller than the screen.
constexpr std::size_t kNamedFiles = 10;

} // namespace

std::optional<LeftOutAlert> leftOutAlert(std::vector<LeftOutFile> files) {
    if (files.empty())
        return std::nullopt;
    // Named in the order a file manager lists them, whatever order they were tried in.
    platform::stableSortInTextOrder(
        files, [](const LeftOutFile& file) { return QFile::decodeName(file.path.filename().c_str()); });
    LeftOutAlert alert;
    alert.message = files.size() == 1
                        ? support::LocalizedString("1 file was not added.")
                        : support::fillFormat(support::LocalizedString("%d files were not added."),
                                              {QString::number(files.size())});
    QStringList lines;
    for (std::size_t i = 0; i < files.size() && i < kNamedFiles; ++i)
        lines << QFile::decodeName(files[i].path.filename().c_str()) + QStringLiteral(": ") + files[i].reason;
    if (files.size() > kNamedFiles)
        lines << support::fillFormat(support::LocalizedString("and %d more"),
                                     {QString::number(files.size() - kNamedFiles)});
    alert.informative = lines.join(u'\n');
    return alert;
}

} // namespace filelist
