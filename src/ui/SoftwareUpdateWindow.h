#pragma once

#include <QDialog>
#include <QUrl>
#include <chrono>
#include <functional>
#include <memory>

namespace net {
class UpdateCheckJob;
}

namespace ui {

namespace Ui {
class SoftwareUpdateWindow;
}

// The Software Update window: the running version, the published one after
// a check, and the outcome of each check the Check Now button starts (one at
// a time). Also runs the one automatic check after launch, which speaks only
// when a newer version is published. A build that names no version file
// never checks, and the window says so.
class SoftwareUpdateWindow final : public QDialog {
    Q_OBJECT
public:
    // newerVersionAlert tells of a newer version found by the automatic
    // check, given the published version's text.
    SoftwareUpdateWindow(const QUrl& versionFile, const QString& ourVersion,
                         std::function<void(const QString& publishedVersion)> newerVersionAlert,
                         QWidget* parent = nullptr);
    ~SoftwareUpdateWindow() override;

    // The manual check, as the button runs it.
    void checkVersion();
    // Arms the automatic check to run once, delay from now.
    void scheduleAutomaticCheck(std::chrono::milliseconds delay);
    bool isChecking() const;

private:
    void showOutcome();
    void checkAutomatically();

    std::unique_ptr<Ui::SoftwareUpdateWindow> m_ui;
    QUrl m_versionFile;
    QString m_ourVersion;
    std::function<void(const QString&)> m_newerVersionAlert;
    std::unique_ptr<net::UpdateCheckJob> m_check;
    std::unique_ptr<net::UpdateCheckJob> m_automaticCheck;
};

} // namespace ui
