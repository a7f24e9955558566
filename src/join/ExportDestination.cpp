#include "join/ExportDestination.h"

#include "platform/FileReference.h"

#include <QFile>

namespace join {

std::filesystem::path exportDestination(const std::filesystem::path& folder,
                                        const std::filesystem::path& source, const QString& extension) {
    const std::string added = QFile::encodeName(extension).toStdString();
    std::filesystem::path destination = folder / (source.filename().string() + added);
    std::string stem = source.stem().string();
    while (destination == source || platform::isSameFile(destination, source)) {
        stem += " (exported)";
        destination = folder / (stem + source.extension().string() + added);
    }
    return destination;
}

} // namespace join
