#include "join/ExportDestination.h"

#include <QFile>

namespace join {

namespace {

bool isSameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code error;
    return std::filesystem::equivalent(a, b, error) && !error;
}

} // namespace

std::filesystem::path exportDestination(const std::filesystem::path& folder,
                                        const std::filesystem::path& source, const QString& extension) {
    const std::string added = QFile::encodeName(extension).toStdString();
    std::filesystem::path destination = folder / (source.filename().string() + added);
    std::string stem = source.stem().string();
    while (destination == source || isSameFile(destination, source)) {
        stem += " (exported)";
        destination = folder / (stem + source.extension().string() + added);
    }
    return destination;
}

} // namespace join
