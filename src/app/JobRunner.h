#pragma once

#include "support/Job.h"

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

namespace app {

// Runs the application's long tasks (a join, an export, a rescale) one at a
// time on a worker thread, and tells what the window shows of the one under
// way: its title as it starts, the fraction done with the time line, its
// phases, and its end. The window and the tests connect to its signals; a
// job never shows anything itself.
class JobRunner final : public QObject {
    Q_OBJECT
public:
    // The clock of the time estimates, in whole seconds (any origin; only
    // differences count). Empty: the system clock.
    using Clock = std::function<std::uint32_t()>;

    explicit JobRunner(Clock clock = {}, QObject* parent = nullptr);
    // Cancels the job under way and waits for its worker: what it was
    // writing is removed, and its finishing step does not run.
    ~JobRunner() override;

    // Starts job on a worker thread under title, unless one is under way
    // (answers false). Once it has ended, ended() is emitted, then finish
    // runs on this thread (it may start the next job).
    [[nodiscard]] bool start(std::unique_ptr<support::Job> job, const QString& title, std::function<void()> finish);
    [[nodiscard]] bool isRunning() const { return m_job != nullptr; }
    // Asks the job under way to stop at its next progress step; what it
    // still tells is not shown.
    void cancel();

signals:
    void started(const QString& title);
    // fraction in [0, 1]; timeLine: the time elapsed and the time still to go.
    void progressed(double fraction, const QString& timeLine);
    void phaseChanged(const QString& phase);
    void ended();

private:
    void showProgress(double fraction, const QString& phase);
    void end();
    [[nodiscard]] std::uint32_t now() const;

    Clock m_clock;
    std::unique_ptr<support::Job> m_job;
    std::function<void()> m_finish;
    std::uint32_t m_startTime = 0;
};

} // namespace app
