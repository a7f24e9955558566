#pragma once

#include "support/WindowHandle.h"

#include <QString>
#include <filesystem>
#include <optional>

namespace support {

// A window that names the file it shows (the main window names the last
// joined file) and that sheets and alerts can be attached to.
class DocumentWindow : public WindowHandle {
public:
    virtual void setTitle(const QString& title) = 0;
    virtual QString title() const = 0;
    // The file the window stands for; the desktop may show its icon and path.
    virtual void setRepresentedFilename(const std::filesystem::path& file) = 0;
    virtual std::optional<std::filesystem::path> representedFilename() const = 0;
};

} // namespace support
