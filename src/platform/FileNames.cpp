#include "platform/FileNames.h"

#include "platform/RenameInPlace.h"

#include <QFile>
#include <string>
#include <sys/stat.h>

namespace platform {

namespace {

constexpr std::size_t kMaxPathSize = 255;

// The last component, also of a path that ends with a slash.
std::string nameBytes(const std::filesystem::path& path) {
    std::string text = path.native();
    while (text.size() > 1 && text.back() == '/')
        text.pop_back();
    return std::filesystem::path(text).filename().native();
}

// The index of the dot that starts the extension in name, or npos.
std::size_t extensionDot(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0 || dot + 1 == name.size())
        return std::string::npos;
    return dot;
}

} // namespace

std::optional<QString> CopyNameExtension(const std::filesystem::path& path) {
    const std::string name = nameBytes(path);
    const std::size_t dot = extensionDot(name);
    if (dot == std::string::npos)
        return std::nullopt;
    return QFile::decodeName(QByteArray::fromStdString(name.substr(dot + 1)));
}

std::optional<std::filesystem::path> AddNameExtensionIfMissing(const std::filesystem::path& path,
                                                               const QString& extension) {
    if (path.native().size() > kMaxPathSize)
        return std::nullopt;
    struct stat status {};
    if (path.empty() || lstat(path.c_str(), &status) != 0)
        return std::nullopt;
    std::string name = nameBytes(path);
    if (name.empty() || name == "." || name == ".." || extensionDot(name) != std::string::npos)
        return std::nullopt;
    std::string suffix = QFile::encodeName(extension).toStdString();
    if (suffix.empty() || suffix == "." || suffix.find('/') != std::string::npos ||
        suffix.find('\0') != std::string::npos)
        return std::nullopt;
    if (!suffix.starts_with('.'))
        suffix.insert(0, 1, '.');
    if (name.ends_with('.'))
        suffix.erase(0, 1);
    std::string trimmed = path.native();
    while (trimmed.size() > 1 && trimmed.back() == '/')
        trimmed.pop_back();
    const std::filesystem::path from(trimmed);
    if (renameInPlace(from, name + suffix) != 0)
        return std::nullopt;
    return from.parent_path() / (name + suffix);
}

} // namespace platform
