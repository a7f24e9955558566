#pragma once

#include <QString>
#include <filesystem>

namespace platform {

// Hands files and folders to the user's desktop.
class DesktopServices {
public:
    virtual ~DesktopServices() = default;
    // Opens the file with its default application, or the folder in the file
    // manager. False when the desktop could not be asked.
    virtual bool openFile(const std::filesystem::path& path) = 0;
    // Shows the item selected in the file manager. By default the folder
    // holding it is opened, which is all a desktop without a file manager
    // service can do.
    virtual bool revealFile(const std::filesystem::path& path) { return openFile(path.parent_path()); }
    // Opens a web address in the user's browser (or the application for its
    // scheme). False when the desktop could not be asked.
    virtual bool openURL(const QString&) { return false; }
};

// The desktop through QDesktopServices (xdg-open). Needs a QGuiApplication:
// without one (the command line, tests) nothing is opened and it answers false.
class QtDesktopServices final : public DesktopServices {
public:
    bool openFile(const std::filesystem::path& path) override;
    // Through the file manager's org.freedesktop.FileManager1.ShowItems, else
    // by opening the folder that holds the item.
    bool revealFile(const std::filesystem::path& path) override;
    bool openURL(const QString& address) override;
};

} // namespace platform
