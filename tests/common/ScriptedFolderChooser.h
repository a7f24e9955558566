#pragma once

#include "platform/FolderChooser.h"

#include <QStringList>
#include <filesystem>
#include <optional>

namespace testing_support {

// A folder chooser answered from a script; it records what it was last asked.
class ScriptedFolderChooser final : public platform::FolderChooser {
public:
    explicit ScriptedFolderChooser(std::optional<std::filesystem::path> answer = std::nullopt)
        : m_answer(std::move(answer)) {}
    std::optional<std::filesystem::path> chooseFolder(const QString& title, const QString& actionLabel,
                                                      const QString& message) override {
        ++m_runs;
        m_lastQuestion = {title, actionLabel, message};
        return m_answer;
    }
    void setAnswer(std::optional<std::filesystem::path> answer) { m_answer = std::move(answer); }
    int runs() const { return m_runs; }
    // Title, action label and message.
    const QStringList& lastQuestion() const { return m_lastQuestion; }

private:
    std::optional<std::filesystem::path> m_answer;
    int m_runs = 0;
    QStringList m_lastQuestion;
};

} // namespace testing_support
