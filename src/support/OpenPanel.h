#pragma once

#include <QString>
#include <QStringList>
#include <filesystem>
#include <optional>

namespace support {

// Asks the user for one existing file to open. The GUI shows an open dialog,
// tests answer from a script.
class OpenPanel {
public:
    virtual ~OpenPanel() = default;

    // title heads the panel and prompt labels its confirm button; only files
    // whose extension (without the dot) is among extensions can be chosen.
    // None when the user cancels.
    virtual std::optional<std::filesystem::path> runOpenPanel(const QString& title, const QString& prompt,
                                                              const QStringList& extensions) = 0;
};

} // namespace support
