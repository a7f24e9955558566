#pragma once

#include <QString>
#include <filesystem>
#include <optional>

namespace platform {

// Asks the user for a folder: the GUI shows a folder dialog, the command line
// and tests answer from a script. None when the user chose nothing.
struct FolderChooser {
    virtual ~FolderChooser() = default;
    virtual std::optional<std::filesystem::path>
    chooseFolder(const QString& title, const QString& actionLabel, const QString& message) = 0;
};

} // namespace platform
