// What the user sees while a movie is written: the spinner, the progress
// sheet with its time estimate, the pie on the application's tile, and the
// Cancel button.
//
// A write runs on the main thread. Each progress call draws the sheet and
// then handles the input already queued (EventPump::processPendingEvents):
// a click on the sheet's Cancel button runs cancelOp there, which closes the
// sheet, restores the tile and notes the cancel, so the same progress call
// answers no and the write stops, leaving no file behind.

#include "app/JoinClipController.h"
#include "join/DockProgress.h"
#include "join/ProgressEstimate.h"
#include "platform/DockTile.h"

#include <QDateTime>
#include <QFile>
#include <algorithm>
#include <cmath>

namespace app {

namespace {

// The media framework's description of the write under way.
const char* const kOperationDescription = "Saving movie ";

// The fraction done as the displays can use it: within 0 to 1, 0 when unknown.
double fractionDone(double fraction) {
    return std::isfinite(fraction) ? std::clamp(fraction, 0.0, 1.0) : 0.0;
}

} // namespace

std::uint32_t JoinClipController::now() const {
    if (m_joinServices.clock)
        return m_joinServices.clock();
    // Whole seconds; only differences are used, and unsigned ones wrap correctly.
    return static_cast<std::uint32_t>(QDateTime::currentSecsSinceEpoch());
}

void JoinClipController::showSpinner(bool shown) {
    support::ProgressIndicator& spinner = *m_outlets.fileList.spinner;
    spinner.setHidden(!shown);
    if (shown)
        spinner.startAnimation();
    else
        spinner.stopAnimation();
}

bool JoinClipController::shouldContinueOperation(int phase, double fraction,
                                                 const std::filesystem::path& fileName) {
    if (phase == 0)
        m_cancelRequested = false; // a new write: an old cancel does not stop it
    showWriteProgress(phase, fraction, &fileName);
    // The cancel check: a click on Cancel runs cancelOp while the events are handled.
    m_outlets.fileList.eventPump->processPendingEvents();
    return !m_cancelRequested;
}

void JoinClipController::cancelOp() {
    m_cancelRequested = true;
    showWriteProgress(2, 0, nullptr);
    if (m_exportInProgress)
        m_exportInProgress = false;
}

void JoinClipController::showWriteProgress(int phase, double fraction,
                                           const std::filesystem::path* fileName) {
    const support::ProgressSheetOutlets& sheet = m_outlets.join.progressSheet;
    platform::DockTile& dockTile = *m_outlets.join.dockTile;
    switch (phase) {
    case 0: {
        eta_startTime = now();
        sheet.estimatedTimeRemainingTextField->setText(QString());
        join::DrawDockProgressForPercent(dockTile, 0);

        QString title = QString::fromLatin1(kOperationDescription);
        const auto component = isExporting() ? selectedComponentTitle() : std::nullopt;
        if (component) {
            if (fileName)
                title += QFile::decodeName(fileName->filename().c_str()) + QString(", as %1").arg(*component);
            else
                title += QString("as %1").arg(*component);
        }
        sheet.progressText->setText(title);
        sheet.progressBar->setValue(0);
        sheet.progressPanel->beginSheet(m_outlets.join.fileListWindow);
        break;
    }
    case 1: {
        const double done = fractionDone(fraction);
        sheet.progressBar->setValue(done * 100);
        sheet.progressBar->displayNow();
        eta_currentTime = now();
        const std::uint32_t elapsed = eta_currentTime - eta_startTime;
        support::ShortText line;
        join::timeLine(elapsed, join::remainingSeconds(elapsed, done), line);
        sheet.estimatedTimeRemainingTextField->setText(QString::fromUtf8(line.c_str()));
        join::DrawDockProgressForPercent(dockTile, static_cast<float>(done * 100));
        break;
    }
    case 2:
        sheet.estimatedTimeRemainingTextField->setText(QString());
        sheet.progressPanel->endSheet();
        dockTile.restore();
        break;
    default:
        break;
    }
}

} // namespace app
