#pragma once

#include "ScriptedFolderChooser.h"
#include "platform/DesktopServices.h"
#include "platform/DockTile.h"

#include <QImage>
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

// Records every progress the tile showed, and whether it is back to the icon.
class RecordingDockTile final : public platform::DockTile {
public:
    QImage applicationIcon() override { return {}; }
    void showProgress(const QImage& tile, double fraction) override {
        m_lastTile = tile;
        m_fractions.push_back(fraction);
        m_showing = true;
    }
    void restore() override { m_showing = false; }
    const QImage& lastTile() const { return m_lastTile; }
    const std::vector<double>& fractions() const { return m_fractions; }
    bool isShowingProgress() const { return m_showing; }

private:
    QImage m_lastTile;
    std::vector<double> m_fractions;
    bool m_showing = false;
};

} // namespace testing_support
