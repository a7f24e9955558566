#include "app/JobRunner.h"

#include "join/ProgressEstimate.h"
#include "support/ShortText.h"

#include <QDateTime>
#include <algorithm>
#include <cmath>
#include <utility>

namespace app {

namespace {

// The fraction done as the displays can use it: within 0 to 1, 0 when unknown.
double fractionDone(double fraction) {
    return std::isfinite(fraction) ? std::clamp(fraction, 0.0, 1.0) : 0.0;
}

} // namespace

JobRunner::JobRunner(Clock clock, QObject* parent) : QObject(parent), m_clock(std::move(clock)) {}

JobRunner::~JobRunner() {
    if (!m_job)
        return;
    m_job->cancel();
    m_job->waitForWorker();
}

std::uint32_t JobRunner::now() const {
    if (m_clock)
        return m_clock();
    // Whole seconds; only differences are used, and unsigned ones wrap correctly.
    return static_cast<std::uint32_t>(QDateTime::currentSecsSinceEpoch());
}

bool JobRunner::start(std::unique_ptr<support::Job> job, const QString& title, std::function<void()> finish) {
    if (m_job)
        return false;
    m_job = std::move(job);
    m_finish = std::move(finish);
    m_startTime = now();
    // Queued: the job reports from its worker thread.
    connect(m_job.get(), &support::Job::progressChanged, this, &JobRunner::showProgress);
    connect(m_job.get(), &support::Job::finished, this, &JobRunner::end);
    emit started(title);
    m_job->start();
    return true;
}

void JobRunner::cancel() {
    if (m_job)
        m_job->cancel();
}

void JobRunner::showProgress(double fraction, const QString& phase) {
    if (!m_job || m_job->isCancelled())
        return; // what a stopping job still tells is not shown
    if (!phase.isEmpty())
        emit phaseChanged(phase);
    const double done = fractionDone(fraction);
    const std::uint32_t elapsed = now() - m_startTime;
    support::ShortText line;
    join::timeLine(elapsed, join::remainingSeconds(elapsed, done), line);
    emit progressed(done, QString::fromUtf8(line.c_str()));
}

void JobRunner::end() {
    if (!m_job)
        return;
    // The finishing step may start the next job: this one is kept until it has run.
    std::unique_ptr<support::Job> done = std::move(m_job);
    const std::function<void()> finish = std::exchange(m_finish, nullptr);
    emit ended();
    if (finish)
        finish();
    done.release()->deleteLater(); // its worker's last signal may still be on its way
}

} // namespace app
