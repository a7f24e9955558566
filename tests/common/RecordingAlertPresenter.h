#pragma once

#include "CallLog.h"
#include "support/AlertPresenter.h"

#include <QString>
#include <vector>

namespace testing_support {

// Records beeps and alerts instead of showing them. Every alert counts as
// answered with OK at once.
class RecordingAlertPresenter final : public support::AlertPresenter {
public:
    struct Alert final {
        QString message;
        QString informative;
        support::WindowHandle* parentWindow = nullptr;
        bool isSheet() const { return parentWindow != nullptr; }
    };
    explicit RecordingAlertPresenter(CallLog* log = nullptr) : m_log(log) {}
    void beep() override {
        ++m_beepCount;
        if (m_log)
            m_log->push_back("beep");
    }
    void showInformational(const QString& message, const QString& informative,
                           support::WindowHandle* parentWindow) override {
        m_alerts.push_back(Alert{message, informative, parentWindow});
        if (m_log)
            m_log->push_back(std::string(parentWindow ? "sheet(" : "modal(") + message.toStdString() + " | " +
                             informative.toStdString() + ")");
    }
    int beepCount() const { return m_beepCount; }
    const std::vector<Alert>& alerts() const { return m_alerts; }

private:
    CallLog* m_log;
    int m_beepCount = 0;
    std::vector<Alert> m_alerts;
};

} // namespace testing_support
