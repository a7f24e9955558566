#include "tools/SplitPieceNames.h"

#include "support/StringExtensions.h"

#include <QString>

namespace tools {

std::vector<std::filesystem::path> splitPiecePaths(const std::filesystem::path& source,
                                                   const std::vector<media::Time>& cuts) {
    std::vector<media::Time> starts{media::makeTime(0, cuts.empty() ? 600 : std::max(1, cuts.front().scale))};
    starts.insert(starts.end(), cuts.begin(), cuts.end());
    const QString base = QString::fromStdString((source.parent_path() / source.stem()).string());
    std::vector<std::filesystem::path> paths;
    for (const media::Time& start : starts) {
        const QString stamp = support::cleanForFilename(QString::fromStdString(media::timeToString(start)));
        paths.emplace_back(QStringLiteral("%1 [%2].mov").arg(base, stamp).toStdString());
    }
    return paths;
}

} // namespace tools
