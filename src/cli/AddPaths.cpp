#include "cli/AddPaths.h"

#include "media/Movie.h"
#include "platform/FileReference.h"

#include <ostream>
#include <system_error>

namespace cli {

bool isFolder(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

namespace {

// Why a path cannot add anything, before it is added; none when it may.
const char* reasonUnusable(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::exists(path, error))
        return "no such file or folder";
    if (!isFolder(path) && !media::Movie::canOpen(path))
        return "not a movie, picture or sound file that can be read";
    return nullptr;
}

} // namespace

int addPaths(filelist::FileList& list, const std::vector<std::filesystem::path>& paths, bool asBatch,
             std::ostream& err) {
    int unusable = 0;
    const auto tell = [&](const std::filesystem::path& path, const char* reason) {
        err << "joinclip: " << path.string() << ": " << reason << "\n";
        ++unusable;
    };
    std::vector<std::filesystem::path> usable;
    for (const auto& path : paths) {
        if (const char* reason = reasonUnusable(path))
            tell(path, reason);
        else
            usable.push_back(path);
    }
    if (asBatch) {
        list.addFiles(usable);
        return unusable;
    }
    for (const auto& path : usable) {
        if (isFolder(path)) {
            list.addDirectoryItems(path);
            continue;
        }
        const int before = list.count();
        if (const QByteArray reference = platform::getAlias(path); !reference.isEmpty())
            list.insertEntry(reference, list.count(), std::nullopt);
        if (list.count() == before)
            tell(path, "it could not be added to the list");
        list.nameOutputAfter(path, false);
    }
    return unusable;
}

} // namespace cli
