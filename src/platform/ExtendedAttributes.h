#pragma once

#include <QByteArray>
#include <filesystem>
#include <optional>
#include <string>

namespace platform {

// Extended attributes of a file, where the desktop keeps what it knows about
// a file beyond its bytes: "user.xdg.origin.url" (where a download came
// from) and "user.xdg.comment" (the file manager's comment).

// Sets attribute `name` of the file at path (never of a symbolic link's
// target) to value. Answers 0 or the errno: ENOTSUP where the file system
// keeps no user attributes, ENOENT, EACCES, E2BIG for a value too large.
[[nodiscard]] int setExtendedAttribute(const std::filesystem::path& path, const std::string& name,
                                       const QByteArray& value);

// The value of attribute `name`; none when the file has no such attribute or it cannot be read.
[[nodiscard]] std::optional<QByteArray> extendedAttribute(const std::filesystem::path& path,
                                                          const std::string& name);

} // namespace platform
