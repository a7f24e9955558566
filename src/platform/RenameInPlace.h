#pragma once

#include <filesystem>
#include <string>

namespace platform {

// Gives the file at `file` the name `newName` in its own folder, never
// replacing anything that already has that name: the rename is refused
// instead. Atomic: the file has its old name or its new one, never both or
// neither. Answers 0, or the errno of the refusal: EEXIST (the name is
// taken), ENAMETOOLONG, EROFS, EACCES, ... and EINVAL for a name that cannot
// name a file in that folder (empty, "." or "..", or holding a slash).
// Where the file system cannot rename without replacing (no RENAME_NOREPLACE),
// a hard link under the new name followed by removing the old one does the
// same; where it has no hard links either, the rename is refused (ENOTSUP)
// rather than risking another file.
[[nodiscard]] int renameInPlace(const std::filesystem::path& file, const std::string& newName);

} // namespace platform
