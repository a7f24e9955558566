#include "platform/FolderListing.h"

#include "platform/TextOrder.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// A ".hidden" file larger than this is not a list of names people keep.
constexpr std::size_t kMaxHiddenListSize = 1024 * 1024;

bool isFileEntry(int folder, const dirent& entry) {
    if (entry.d_type == DT_REG)
        return true;
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN)
        return false;
    struct stat status {};
    return fstatat(folder, entry.d_name, &status, AT_NO_AUTOMOUNT) == 0 && S_ISREG(status.st_mode);
}

std::filesystem::path withoutTrailingSlash(const std::filesystem::path& path) {
    std::string text = path.native();
    while (text.size() > 1 && text.back() == '/')
        text.pop_back();
    return text;
}

// The contents of folder's ".hidden" file, at most kMaxHiddenListSize bytes;
// empty unless it is a regular file (a named pipe would block the reader).
std::string hiddenNames(const std::filesystem::path& folder) {
    const int file = open((folder / ".hidden").c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (file < 0)
        return {};
    std::string names;
    struct stat status {};
    if (fstat(file, &status) == 0 && S_ISREG(status.st_mode)) {
        names.resize(std::min(static_cast<std::size_t>(status.st_size), kMaxHiddenListSize));
        std::size_t filled = 0;
        while (filled < names.size()) {
            const ssize_t count = read(file, names.data() + filled, names.size() - filled);
            if (count <= 0)
                break;
            filled += static_cast<std::size_t>(count);
        }
        names.resize(filled);
    }
    close(file);
    return names;
}

} // namespace

bool CopyFolderFileRefs(const std::filesystem::path& folder, std::vector<std::filesystem::path>& list) {
    DIR* reader = opendir(folder.c_str());
    if (!reader)
        return false;
    std::vector<std::string> names;
    errno = 0;
    while (const dirent* entry = readdir(reader)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0 &&
            isFileEntry(dirfd(reader), *entry))
            names.emplace_back(entry->d_name);
        errno = 0;
    }
    const bool complete = errno == 0;
    closedir(reader);
    if (!complete)
        return false;
    // Byte order first, so names that read the same in text order (differing
    // in case only, or in bytes that are not UTF-8) keep one fixed order.
    std::sort(names.begin(), names.end());
    std::vector<std::pair<QString, std::string>> named;
    named.reserve(names.size());
    for (std::string& name : names)
        named.emplace_back(QFile::decodeName(QByteArray::fromStdString(name)), std::move(name));
    stableSortInTextOrder(named, [](const auto& item) -> const QString& { return item.first; });
    names.clear();
    for (auto& item : named)
        names.push_back(std::move(item.second));
    list.reserve(list.size() + names.size());
    for (const std::string& name : names)
        list.push_back(folder / name);
    return true;
}

bool isInvisible(const std::filesystem::path& path) {
    const std::filesystem::path item = withoutTrailingSlash(path);
    const std::string name = item.filename().native();
    if (name.starts_with('.'))
        return true;
    if (name.empty())
        return false;
    const std::string list = hiddenNames(item.parent_path());
    std::string_view rest = list;
    while (!rest.empty()) {
        const std::size_t end = std::min(rest.find('\n'), rest.size());
        std::string_view line = rest.substr(0, end);
        rest.remove_prefix(std::min(end + 1, rest.size()));
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        if (line == name)
            return true;
    }
    return false;
}

} // namespace platform
