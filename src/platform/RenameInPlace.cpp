#include "platform/RenameInPlace.h"

#include <cerrno>
#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

namespace platform {

namespace {

bool isFileName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

// Whether renameat2 answered that the file system (or kernel) has no RENAME_NOREPLACE.
bool noReplaceUnsupported(int error) {
    return error == EINVAL || error == ENOSYS || error == ENOTSUP;
}

// The rename as a hard link under the new name, then the old name removed.
int linkThenUnlink(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (::link(from.c_str(), to.c_str()) != 0)
        return errno == EPERM ? ENOTSUP : errno; // EPERM: the file system has no hard links
    if (::unlink(from.c_str()) != 0) {
        const int error = errno;
        ::unlink(to.c_str()); // back to the one old name
        return error;
    }
    return 0;
}

} // namespace

int renameInPlace(const std::filesystem::path& file, const std::string& newName) {
    if (!isFileName(newName))
        return EINVAL;
    const std::filesystem::path target = file.parent_path() / newName;
    if (::renameat2(AT_FDCWD, file.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    const int error = errno;
    return noReplaceUnsupported(error) ? linkThenUnlink(file, target) : error;
}

} // namespace platform
