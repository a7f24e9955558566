// What the user sees while a job writes: the spinner, the progress sheet with
// its time estimate, the pie on the application's tile, and the Cancel button.
//
// A job runs either on a worker thread (the window: its progress arrives as
// queued signals and the event loop runs as usual) or here, on the calling
// thread (the command line and the controller's tests: each progress signal
// then handles the input already queued, so Cancel and Ctrl-C still work).
// Cancel asks the job to stop; its next progress step answers no, the write
// removes what it had written, and the job's end closes the sheet.

#include "app/JoinClipController.h"
#include "app/CommandRequests.h"
#include "join/DockProgress.h"
#include "join/ProgressEstimate.h"
#include "platform/DockTile.h"
#include "support/Message.h"

#include <QDateTime>
#include <QFile>
#include <algorithm>
#include <cmath>

namespace app {

namespace {

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

QString JoinClipController::writeTitle(const std::filesystem::path* fileName) const {
    return app::writeTitle(m_outputFormat, fileName);
}

void JoinClipController::runJob(std::unique_ptr<support::Job> job, const QString& title,
                                std::function<void()> finish) {
    m_job = std::move(job);
    support::Job& running = *m_job;
    const bool here = !m_jobsInBackground;
    showSpinner(true);
    showWriteProgress(0, 0, title);
    QObject::connect(&running, &support::Job::progressChanged, &running,
                     [this, here](double fraction, const QString& phase) {
                         if (!m_job)
                             return;
                         if (!phase.isEmpty())
                             showStatus(phase);
                         showWriteProgress(1, fraction);
                         // Here, this is the only moment the user's input (Cancel) is handled.
                         if (here)
                             m_outlets.fileList.eventPump->processPendingEvents();
                     });
    const auto end = [this, finish = std::move(finish)]() {
        showWriteProgress(2, 0);
        showSpinner(false);
        // The finishing step may start the next job: this one is kept until it has run.
        std::unique_ptr<support::Job> done = std::move(m_job);
        finish();
        if (m_jobsInBackground)
            done.release()->deleteLater(); // its worker's last signal may still be on its way
    };
    if (here) {
        (void)running.runHere(); // the outcome is the job's, read by finish
        end();
        return;
    }
    QObject::connect(&running, &support::Job::finished, &running, [end] { end(); });
    running.start();
}

void JoinClipController::cancelJob() {
    if (!m_job)
        return;
    m_job->cancel();
    // The sheet goes at once; the job ends at its next progress step.
    showWriteProgress(2, 0);
}

void JoinClipController::showStatus(const QString& text) {
    if (m_jobsInBackground) {
        // The event loop runs anyway: nothing to pump.
        m_outlets.fileList.messagesTextField->setHidden(false);
        m_outlets.fileList.messagesTextField->setText(text);
    } else {
        message(text);
    }
}

void JoinClipController::showWriteProgress(int phase, double fraction, const QString& title) {
    const support::ProgressSheetOutlets& sheet = m_outlets.join.progressSheet;
    platform::DockTile& dockTile = *m_outlets.join.dockTile;
    switch (phase) {
    case 0:
        eta_startTime = now();
        sheet.estimatedTimeRemainingTextField->setText(QString());
        join::DrawDockProgressForPercent(dockTile, 0);
        sheet.progressText->setText(title);
        sheet.progressBar->setValue(0);
        sheet.progressPanel->beginSheet(m_outlets.join.fileListWindow);
        break;
    case 1: {
        if (!sheet.progressPanel->isShown())
            break; // cancelled: what the job still tells is not shown
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
