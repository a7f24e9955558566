#pragma once

#include <QString>
#include <filesystem>

namespace media {

// The name of a file as a desktop that hides extensions shows it: its last
// path component (also of a path ending with a slash) without the part from
// its last dot on. A leading dot is part of the name (".profile").
QString displayNameOfFile(const std::filesystem::path& path);

} // namespace media
