#pragma once

#include <QString>
#include <filesystem>
#include <optional>

namespace support {

// Asks the user where to save a file. The GUI shows a save dialog, the
// command line answers from its arguments, tests answer from a script.
class SavePanel {
public:
    virtual ~SavePanel() = default;

    // Opens on startFolder when there is one, with suggestedName filled in.
    // With a required extension (".mov") the answer always ends in it; without
    // one the user may type a name that has no extension. None when the user
    // cancels.
    virtual std::optional<std::filesystem::path> runSavePanel(const std::optional<std::filesystem::path>& startFolder,
                                                              const QString& suggestedName,
                                                              const std::optional<QString>& requiredExtension) = 0;
};

} // namespace support
