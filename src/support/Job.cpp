#include "support/Job.h"

#include <QDateTime>

#include <algorithm>

#include <cerrno>

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace support {

namespace {
// Progress signals closer together than this are merged: progress redrawn
// more often than a screen shows it only costs the window's thread.
constexpr qint64 kSignalIntervalMs = 33;
// How much nicer than the window's thread a job's worker is.
constexpr int kBackgroundNiceness = 10;
} // namespace

void lowerCurrentThreadPriority()
{
    // Linux keeps a nice value per thread (setpriority with a thread id), and
    // a thread starts with its creator's: the codec threads a job's work opens
    // are lowered with it. Failing (a limit on this process) leaves it as it was.
    const auto thread = static_cast<id_t>(::syscall(SYS_gettid));
    errno = 0;
    const int current = ::getpriority(PRIO_PROCESS, thread);
    if (errno == 0)
        (void)::setpriority(PRIO_PROCESS, thread, std::min(current + kBackgroundNiceness, 19));
}

media::Error cancelledError()
{
    return {ECANCELED, "Cancelled"};
}

Job::Job(QObject* parent) : QObject(parent) {}

Job::~Job()
{
    cancel();
    waitForWorker();
}

void Job::start()
{
    if (m_running.exchange(true))
        return;
    waitForWorker();
    m_cancelled = false;
    {
        const std::lock_guard lock(m_mutex);
        m_error.reset();
        m_fraction = 0.0;
    }
    m_worker.reset(QThread::create([this] {
        lowerCurrentThreadPriority();
        const auto result = run();
        // Back on the owner's thread: the receivers of finished() may delete
        // the job, which then joins this worker after it has returned.
        QMetaObject::invokeMethod(this, [this, result] { finish(result); }, Qt::QueuedConnection);
    }));
    m_worker->start();
}

std::expected<void, media::Error> Job::runHere()
{
    if (m_running.exchange(true))
        return std::unexpected(media::Error{EBUSY, "The task is already running."});
    m_cancelled = false;
    {
        const std::lock_guard lock(m_mutex);
        m_error.reset();
        m_fraction = 0.0;
    }
    const auto result = run();
    finish(result);
    return result;
}

void Job::finish(const std::expected<void, media::Error>& result)
{
    {
        const std::lock_guard lock(m_mutex);
        if (!result)
            m_error = result.error();
        else if (m_cancelled)
            m_error = cancelledError();
    }
    m_running = false;
    const bool succeeded = !error().has_value();
    emit finished(succeeded);
}

void Job::cancel()
{
    m_cancelled = true;
}

bool Job::isCancelled() const
{
    return m_cancelled;
}

bool Job::isRunning() const
{
    return m_running;
}

void Job::waitForWorker()
{
    if (m_worker && QThread::currentThread() != m_worker.get())
        m_worker->wait();
}

double Job::fraction() const
{
    const std::lock_guard lock(m_mutex);
    return m_fraction;
}

QString Job::phase() const
{
    const std::lock_guard lock(m_mutex);
    return m_phase;
}

const std::optional<media::Error>& Job::error() const
{
    const std::lock_guard lock(m_mutex);
    return m_error;
}

void Job::reportProgress(double fraction, const QString& phase)
{
    bool emitNow = false;
    {
        const std::lock_guard lock(m_mutex);
        m_fraction = std::clamp(fraction, 0.0, 1.0);
        const bool newPhase = !phase.isEmpty() && phase != m_phase;
        if (newPhase)
            m_phase = phase;
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        if (newPhase || m_fraction >= 1.0 || now - m_lastSignal >= kSignalIntervalMs) {
            m_lastSignal = now;
            emitNow = true;
            fraction = m_fraction;
        }
    }
    if (emitNow)
        emit progressChanged(fraction, phase);
}

std::function<bool(double)> Job::progressCallback(double from, double to, const QString& phase)
{
    bool announced = false;
    return [this, from, to, phase, announced](double part) mutable {
        reportProgress(from + (to - from) * std::clamp(part, 0.0, 1.0), announced ? QString() : phase);
        announced = true;
        return !isCancelled();
    };
}

} // namespace support
