#include "ui/SoftwareUpdateWindow.h"

#include "net/HttpGet.h"
#include "net/UpdateCheckJob.h"
#include "net/VersionNumber.h"
#include "support/FormatText.h"
#include "support/LocalizedString.h"
#include "ui/LocalizeWidgets.h"
#include "ui_SoftwareUpdateWindow.h"

#include <QTimer>

namespace ui {

using support::LocalizedString;

SoftwareUpdateWindow::SoftwareUpdateWindow(const QUrl& versionFile, const QString& ourVersion,
                                           std::function<void(const QString&)> newerVersionAlert, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::SoftwareUpdateWindow>()), m_versionFile(versionFile),
      m_ourVersion(ourVersion), m_newerVersionAlert(std::move(newerVersionAlert)) {
    m_ui->setupUi(this);
    localizeWidgetTree(*this);
    m_ui->ourVersionField->setText(ourVersion);
    m_ui->progressIndicator->hide();
    if (m_versionFile.isEmpty()) {
        // Nothing to check against: the controls of the check are not shown.
        m_ui->softwareUpdateField->setText(
            LocalizedString("This version of JoinClip does not check for updates."));
        m_ui->checkVersionButton->hide();
        m_ui->currentVersionLabel->hide();
        m_ui->currentVersionField->hide();
    }
    connect(m_ui->checkVersionButton, &QPushButton::clicked, this, &SoftwareUpdateWindow::checkVersion);
}

SoftwareUpdateWindow::~SoftwareUpdateWindow() = default;

bool SoftwareUpdateWindow::isChecking() const {
    return m_check && m_check->isRunning();
}

void SoftwareUpdateWindow::checkVersion() {
    if (m_versionFile.isEmpty() || isChecking())
        return;
    if (!net::isWebAddress(m_versionFile)) {
        // No connection can be made to it.
        m_ui->softwareUpdateField->setText(
            LocalizedString("JoinClip could not check for a software update at this time."));
        return;
    }
    m_ui->softwareUpdateField->setText(LocalizedString("Checking for a software update..."));
    m_check = std::make_unique<net::UpdateCheckJob>(
        net::UpdateCheckRequest{.address = m_versionFile, .ourNumber = net::versionNumber(m_ourVersion)});
    connect(m_check.get(), &support::Job::finished, this, &SoftwareUpdateWindow::showOutcome);
    m_ui->progressIndicator->show();
    m_ui->checkVersionButton->setEnabled(false);
    m_check->start();
}

void SoftwareUpdateWindow::showOutcome() {
    m_ui->progressIndicator->hide();
    m_ui->checkVersionButton->setEnabled(true);
    const net::UpdateCheckOutcome& outcome = m_check->outcome();
    using Status = net::UpdateCheckOutcome::Status;
    switch (outcome.status) {
    case Status::Newer:
    case Status::Current:
        m_ui->softwareUpdateField->setText(LocalizedString(outcome.status == Status::Newer
                                                               ? "An update is available for JoinClip."
                                                               : "Your software is up to date."));
        m_ui->currentVersionField->setText(outcome.published.text);
        break;
    case Status::Unreadable:
        m_ui->softwareUpdateField->setText(LocalizedString("The current version information could not be read."));
        break;
    case Status::Failed:
        m_ui->softwareUpdateField->setText(
            support::fillFormat(LocalizedString("Connection failed with error: %@ %@"),
                                {LocalizedString(QString::fromStdString(outcome.failure.message)),
                                 m_versionFile.toString(QUrl::RemoveUserInfo)}));
        break;
    }
}

void SoftwareUpdateWindow::scheduleAutomaticCheck(std::chrono::milliseconds delay) {
    if (m_versionFile.isEmpty())
        return;
    QTimer::singleShot(delay, this, &SoftwareUpdateWindow::checkAutomatically);
}

void SoftwareUpdateWindow::checkAutomatically() {
    m_automaticCheck = std::make_unique<net::UpdateCheckJob>(
        net::UpdateCheckRequest{.address = m_versionFile, .ourNumber = net::versionNumber(m_ourVersion)});
    // Silent unless something newer is published.
    connect(m_automaticCheck.get(), &support::Job::finished, this, [this] {
        const net::UpdateCheckOutcome& outcome = m_automaticCheck->outcome();
        if (outcome.status == net::UpdateCheckOutcome::Status::Newer && m_newerVersionAlert)
            m_newerVersionAlert(outcome.published.text);
    });
    m_automaticCheck->start();
}

} // namespace ui
