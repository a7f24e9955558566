#include "RecordingAlertPresenter.h"

namespace testing_support {

void RecordingAlertPresenter::beep() {
    ++m_beepCount;
    if (m_log) {
        m_log->push_back("beep");
    }
}

void RecordingAlertPresenter::showInformational(const QString& message, const QString& informative,
                                                support::WindowHandle* parentWindow) {
    m_alerts.push_back(Alert{message, informative, parentWindow});
    if (m_log) {
        m_log->push_back(std::string(parentWindow ? "sheet(" : "modal(") + message.toStdString() + " | " +
                         informative.toStdString() + ")");
    }
}

} // namespace testing_support
