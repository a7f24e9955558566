#pragma once

#include "ScriptedFolderChooser.h"
#include "platform/DesktopServices.h"

#include <QStringList>
#include <filesystem>
#include <optional>
#include <vector>

namespace testing_support {

// Records what the desktop was asked to open and to show in its folder.
class RecordingDesktopServices final : public platform::DesktopServices {
public:
    bool openFile(const std::filesystem::path& path) override {
        m_opened.push_back(path);
        return true;
    }
    bool revealFile(const std::filesystem::path& path) override {
        m_revealed.push_back(path);
        return true;
    }
    const std::vector<std::filesystem::path>& opened() const { return m_opened; }
    const std::vector<std::filesystem::path>& revealed() const { return m_revealed; }

private:
    std::vector<std::filesystem::path> m_opened, m_revealed;
};

} // namespace testing_support
