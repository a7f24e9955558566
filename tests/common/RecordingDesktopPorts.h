#pragma once

#include "ScriptedFolderChooser.h"
#include "platform/DesktopServices.h"
#include "platform/DockTile.h"
#include "support/SavePanel.h"

#include <QImage>
#include <QStringList>
#include <filesystem>
#include <optional>
#include <vector>

namespace testing_support {

// A save panel answered from a script; it records how it was opened.
class RecordingSavePanel final : public support::SavePanel {
public:
    struct Opening final {
        std::optional<std::filesystem::path> startFolder;
        QString suggestedName;
        std::optional<QString> requiredExtension;
    };
    std::optional<std::filesystem::path>
    runSavePanel(const std::optional<std::filesystem::path>& startFolder, const QString& suggestedName,
                 const std::optional<QString>& requiredExtension) override {
        m_openings.push_back({startFolder, suggestedName, requiredExtension});
        return m_answer;
    }
    void setAnswer(std::optional<std::filesystem::path> answer) { m_answer = std::move(answer); }
    const std::vector<Opening>& openings() const { return m_openings; }

private:
    std::optional<std::filesystem::path> m_answer;
    std::vector<Opening> m_openings;
};

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
