#include "join/ExportDestination.h"

#include <QFile>

namespace join {

namespace {

constexpr int kNameAttempts = 100;

// The name of the given attempt: 0 the plain one, n with " (exported)" n times.
std::filesystem::path candidate(const std::filesystem::path& folder, const std::filesystem::path& source,
                                const std::string& added, int attempt) {
    if (attempt == 0)
        return folder / (source.filename().string() + added);
    std::string stem = source.stem().string();
    for (int i = 0; i < attempt; ++i)
        stem += " (exported)";
    return folder / (stem + source.extension().string() + added);
}

} // namespace

std::filesystem::path exportDestination(const std::filesystem::path& folder,
                                        const std::filesystem::path& source, const QString& extension) {
    const std::string added = QFile::encodeName(extension).toStdString();
    std::filesystem::path destination;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        destination = candidate(folder, source, added, attempt);
        std::error_code error;
        if (!std::filesystem::exists(std::filesystem::symlink_status(destination, error)))
            break;
    }
    return destination;
}

std::optional<ReservedName> reserveExportDestination(const std::filesystem::path& folder,
                                                     const std::filesystem::path& source,
                                                     const QString& extension) {
    const std::string added = QFile::encodeName(extension).toStdString();
    return reserveFirstFree(
        [&](int attempt) { return std::optional(candidate(folder, source, added, attempt)); }, kNameAttempts);
}

} // namespace join
