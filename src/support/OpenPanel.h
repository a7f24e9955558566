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

// An open panel nobody sees: it answers the path it was given, or cancels without one.
class HeadlessOpenPanel final : public OpenPanel {
public:
    explicit HeadlessOpenPanel(std::optional<std::filesystem::path> answer = std::nullopt) : m_answer(std::move(answer)) {}

    std::optional<std::filesystem::path> runOpenPanel(const QString&, const QString&, const QStringList&) override {
        return m_answer;
    }
    void setAnswer(std::optional<std::filesystem::path> answer) { m_answer = std::move(answer); }

private:
    std::optional<std::filesystem::path> m_answer;
};

} // namespace support
