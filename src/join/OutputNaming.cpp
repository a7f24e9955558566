#include "join/OutputNaming.h"

#include "support/LocalizedString.h"

#include <QFile>
#include <QTextBoundaryFinder>
#include <climits>
#include <cstdlib>
#include <unistd.h>

namespace join {

namespace {

// Attempts at a free name: the plain one, the stamped one, then numbered stamps.
constexpr int kNameAttempts = 100;

// The longest file name, in bytes, the folder takes.
std::size_t longestName(const std::filesystem::path& folder) {
    const long limit = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    return limit > 0 ? static_cast<std::size_t>(limit) : NAME_MAX;
}

// `base` cut at a character (grapheme) boundary so that its bytes and
// `suffixBytes` more fit in `limit` bytes.
QString fitted(const QString& base, std::size_t suffixBytes, std::size_t limit) {
    if (static_cast<std::size_t>(QFile::encodeName(base).size()) + suffixBytes <= limit)
        return base;
    QTextBoundaryFinder boundaries(QTextBoundaryFinder::Grapheme, base);
    qsizetype cut = 0;
    for (qsizetype next = boundaries.toNextBoundary(); next > 0; next = boundaries.toNextBoundary()) {
        if (static_cast<std::size_t>(QFile::encodeName(base.left(next)).size()) + suffixBytes > limit)
            break;
        cut = next;
    }
    return base.left(cut);
}

// "2026-12-06 17.52.01 +0100": the date, the time and the zone offset, with
// dots where the time has colons.
QString timeStamp(const QDateTime& now) {
    const int offset = now.offsetFromUtc();
    const QString zone = QString("%1%2%3")
                             .arg(offset < 0 ? '-' : '+')
                             .arg(std::abs(offset) / 3600, 2, 10, QChar('0'))
                             .arg(std::abs(offset) % 3600 / 60, 2, 10, QChar('0'));
    QString stamp = now.toString("yyyy-MM-dd HH:mm:ss ") + zone;
    stamp.replace(':', '.');
    return stamp;
}

// The default name of the given attempt: 0 plain, 1 stamped, n > 1 stamped and numbered.
std::filesystem::path candidate(const std::filesystem::path& folder, const std::optional<QString>& baseName,
                                const QString& extension, const QDateTime& now, int attempt) {
    const QString base = baseName.value_or(support::LocalizedString("Untitled"));
    QString suffix;
    if (attempt > 0)
        suffix = "-[" + timeStamp(now) + "]";
    if (attempt > 1)
        suffix += " " + QString::number(attempt);
    suffix += extension;
    const QByteArray suffixBytes = QFile::encodeName(suffix);
    const QString name = fitted(base, static_cast<std::size_t>(suffixBytes.size()), longestName(folder));
    return folder / (QFile::encodeName(name).toStdString() + suffixBytes.toStdString());
}

} // namespace

std::optional<std::filesystem::path> defaultFilename(const std::optional<std::filesystem::path>& outputFolder,
                                                     const std::optional<QString>& baseName,
                                                     const QString& extension, const QDateTime& now) {
    if (!outputFolder)
        return std::nullopt;
    std::filesystem::path path;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        path = candidate(*outputFolder, baseName, extension, now, attempt);
        std::error_code error;
        if (!std::filesystem::exists(std::filesystem::symlink_status(path, error)))
            break;
    }
    return path;
}

std::optional<ReservedName> reserveDefaultFilename(const std::optional<std::filesystem::path>& outputFolder,
                                                   const std::optional<QString>& baseName,
                                                   const QString& extension, const QDateTime& now) {
    if (!outputFolder)
        return std::nullopt;
    return reserveFirstFree(
        [&](int attempt) {
            return std::optional(candidate(*outputFolder, baseName, extension, now, attempt));
        },
        kNameAttempts);
}

QString defaultFilenameWithSaveCount(const std::optional<QString>& baseName, const QString& extension) {
    return baseName.value_or(support::LocalizedString("Untitled")) + extension;
}

} // namespace join
